#include "headless/ControlSocketFile.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

#include "headless/ControlProtocol.h"

namespace varnek {

std::filesystem::path ControlSocketPath(const std::filesystem::path& settingsDirectory) {
  return settingsDirectory / kControlSocketName;
}

std::optional<QString> SocketPathTooLong(const std::filesystem::path& path) {
  constexpr std::size_t kLongest = sizeof(sockaddr_un::sun_path) - 1;
  const std::size_t length = path.native().size();
  if (length <= kLongest) {
    return std::nullopt;
  }
  return QStringLiteral("the path %1 is %2 bytes long, and a Unix socket's path may hold %3")
      .arg(QFile::decodeName(path.c_str()), QString::number(length), QString::number(kLongest));
}

SocketFile InspectSocketFile(const std::filesystem::path& path) {
  struct stat status = {};
  if (::lstat(path.c_str(), &status) != 0) {
    return errno == ENOENT ? SocketFile{} : SocketFile{SocketFile::Kind::Unknown, 0, errno};
  }
  const auto kind = S_ISSOCK(status.st_mode) ? SocketFile::Kind::Socket : SocketFile::Kind::NotASocket;
  return {kind, status.st_uid, 0};
}

std::optional<uid_t> PeerUser(int socketDescriptor) {
  ucred credentials = {};
  socklen_t size = sizeof credentials;
  if (::getsockopt(socketDescriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 || size != sizeof credentials) {
    return std::nullopt;
  }
  return credentials.uid;
}

bool AcceptsClientOf(uid_t user) {
  return user == ::geteuid() || user == 0;
}

bool TrustsSocketOf(uid_t user) {
  return AcceptsClientOf(user) || ::geteuid() == 0;
}

}  // namespace varnek
