#include "headless/ControlSocket.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

#include "headless/ConsoleOutput.h"
#include "headless/ControlSession.h"
#include "headless/ControlSocketFile.h"

namespace varnek {
namespace {

// Clients served at once. Each holds its place for at most its deadline;
// one more is told to come back.
constexpr int kMostSessions = 16;

QString Shown(const std::filesystem::path& path) {
  return QFile::decodeName(path.c_str());
}

QString SystemReason(int error) {
  return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

ControlSocket::ControlSocket(BotActions& bot, HubCodec& codec, ConsoleOutput& program)
    : bot_(bot), codec_(codec), program_(program) {
  connect(&server_, &QLocalServer::newConnection, this, &ControlSocket::OnNewConnection);
}

ControlSocket::~ControlSocket() {
  // A ":quit" answered just before the end still reaches its client.
  for (ControlSession* session : findChildren<ControlSession*>(Qt::FindDirectChildrenOnly)) {
    session->FlushNow();
  }
  server_.close();
  RemoveSocketFile();
}

void ControlSocket::RemoveSocketFile() {
  if (!socketFile_) {
    return;
  }
  // Only the socket this bot made: a file put in its place since stays.
  struct stat status = {};
  if (::lstat(socketPath_.c_str(), &status) == 0 && status.st_dev == socketFile_->device &&
      status.st_ino == socketFile_->inode) {
    ::unlink(socketPath_.c_str());
  }
  socketFile_.reset();
}

bool ControlSocket::Listen(const std::filesystem::path& settingsDirectory) {
  const std::filesystem::path path = ControlSocketPath(settingsDirectory);
  if (const auto why = SocketPathTooLong(path)) {
    program_.Tell(QStringLiteral("no control socket (--send cannot reach this bot): %1").arg(*why));
    return false;
  }
  if (!MayTakePath(path)) {
    return false;
  }
  // The socket is made in a directory of its own (for this user only, as
  // QTemporaryDir makes it), given its mode there and then moved into place
  // in one step, replacing a socket left behind: no one sees it before it is
  // ready. The name is no longer than the socket's, so it fits whenever the
  // socket's path does.
  QTemporaryDir staging(Shown(settingsDirectory / ".sXXXXXX"));
  if (!staging.isValid()) {
    program_.Tell(QStringLiteral("no control socket: %1").arg(staging.errorString()));
    return false;
  }
  const QString staged = staging.filePath(QStringLiteral("s"));
  if (!server_.listen(staged)) {
    program_.Tell(QStringLiteral("no control socket at %1: %2").arg(Shown(path), server_.errorString()));
    return false;
  }
  const QByteArray stagedName = QFile::encodeName(staged);
  if (::chmod(stagedName.constData(), S_IRUSR | S_IWUSR) != 0 || ::rename(stagedName.constData(), path.c_str()) != 0) {
    program_.Tell(QStringLiteral("no control socket at %1: %2").arg(Shown(path), SystemReason(errno)));
    server_.close();
    return false;
  }
  struct stat status = {};
  if (::lstat(path.c_str(), &status) == 0) {
    socketFile_ = FileIdentity{status.st_dev, status.st_ino};
  }
  socketPath_ = path;
  return true;
}

bool ControlSocket::MayTakePath(const std::filesystem::path& path) {
  const SocketFile file = InspectSocketFile(path);
  switch (file.kind) {
    case SocketFile::Kind::Missing:
      return true;
    case SocketFile::Kind::Unknown:
      program_.Tell(QStringLiteral("no control socket: %1: %2").arg(Shown(path), SystemReason(file.error)));
      return false;
    case SocketFile::Kind::NotASocket:
      program_.Tell(
          QStringLiteral("no control socket: %1 is there and is no socket; remove it to have one").arg(Shown(path)));
      return false;
    case SocketFile::Kind::Socket:
      break;
  }
  if (file.owner != ::geteuid()) {
    program_.Tell(QStringLiteral("no control socket: %1 belongs to user %2, not to this bot's user %3")
                      .arg(Shown(path), QString::number(file.owner), QString::number(::geteuid())));
    return false;
  }
  return true;  // left by an earlier run: the directory's lock says no bot uses it now
}

void ControlSocket::OnNewConnection() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    auto* session = new ControlSession(socket, bot_, codec_, this);
    ++sessions_;
    connect(session, &ControlSession::Finished, this, [this, session] {
      --sessions_;
      session->deleteLater();
    });
    const std::optional<uid_t> user = PeerUser(static_cast<int>(socket->socketDescriptor()));
    if (!user || !AcceptsClientOf(*user)) {
      const QString who = user ? QStringLiteral("user %1").arg(*user) : QStringLiteral("an unknown user");
      program_.Tell(QStringLiteral("control socket: refused a client of %1").arg(who));
      session->Refuse(QStringLiteral("refused: this bot takes lines from user %1 and root only").arg(::geteuid()));
    } else if (sessions_ > kMostSessions) {
      session->Refuse(
          QStringLiteral("%1 clients are being served: the line was not run; send it again").arg(kMostSessions));
    }
  }
}

}  // namespace varnek
