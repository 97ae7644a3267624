#pragma once

#include <sys/types.h>

#include <QLocalServer>
#include <QObject>
#include <filesystem>
#include <optional>

namespace varnek {

class BotActions;
class ConsoleOutput;
class ControlSession;
class HubCodec;

// The running bot's control socket, `varnek.sock` in its settings
// directory: a Unix stream socket, for its user (and root) only, that takes
// one console line per connection (see ControlProtocol.h), as `--send`
// sends it. The settings directory's lock keeps one bot per directory, so a
// socket of this user found there at the start was left by a run that ended
// without removing it, and is replaced. The socket goes with this object.
class ControlSocket : public QObject {
 public:
  // `program` takes the socket's own messages (why there is none, a client
  // refused), as the program's own messages on standard error.
  ControlSocket(BotActions& bot, HubCodec& codec, ConsoleOutput& program);
  ~ControlSocket() override;
  ControlSocket(const ControlSocket&) = delete;
  ControlSocket& operator=(const ControlSocket&) = delete;

  // Listens in the directory. When it cannot, says why and the program runs
  // on without a control socket.
  bool Listen(const std::filesystem::path& settingsDirectory);

 private:
  // Whether the socket may be put at the path: nothing is there, or a socket
  // of this user; says why not for anything else.
  bool MayTakePath(const std::filesystem::path& path);
  void RemoveSocketFile();
  void OnNewConnection();

  BotActions& bot_;
  HubCodec& codec_;
  ConsoleOutput& program_;
  QLocalServer server_;
  int sessions_ = 0;
  // The socket's file as made, so that only that file is removed at the end.
  struct FileIdentity {
    dev_t device;
    ino_t inode;
  };
  std::filesystem::path socketPath_;
  std::optional<FileIdentity> socketFile_;
};

}  // namespace varnek
