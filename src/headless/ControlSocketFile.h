#pragma once

#include <sys/types.h>

#include <QString>
#include <filesystem>
#include <optional>

namespace varnek {

// The control socket's file, as the running bot and `--send` both see it.

// The socket in the settings directory.
std::filesystem::path ControlSocketPath(const std::filesystem::path& settingsDirectory);

// Why no socket can be made or reached at the path: a Unix socket's path
// must fit the 108 bytes of its address, final NUL included.
std::optional<QString> SocketPathTooLong(const std::filesystem::path& path);

// What stands at the socket's path, without following a symbolic link.
struct SocketFile {
  enum class Kind {
    Missing,
    Socket,
    NotASocket,  // a regular file, a directory, a symbolic link, ...
    Unknown,     // cannot be looked at: `error` says why
  };
  Kind kind = Kind::Missing;
  uid_t owner = 0;
  int error = 0;
};
SocketFile InspectSocketFile(const std::filesystem::path& path);

// The user at the other end of a connected Unix socket; nothing when the
// system does not say.
std::optional<uid_t> PeerUser(int socketDescriptor);

// Root may steer every bot on the machine (a bot of the service runs as a
// user of its own); any other user only the bots of its own user.
//
// Whether the bot takes lines from a client of the user: its own user or root.
bool AcceptsClientOf(uid_t user);
// Whether `--send` talks to a socket of the user: its own, root's, or any when
// it runs as root.
bool TrustsSocketOf(uid_t user);

}  // namespace varnek
