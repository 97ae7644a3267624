#include "headless/SendLine.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "headless/ControlProtocol.h"
#include "headless/ControlSocketFile.h"

namespace varnek {
namespace {

// How long the bot has to accept the connection, and then to answer: it runs
// the line as soon as it has it, so only a bot that is stopped or hanging
// takes this long.
constexpr int kConnectMilliseconds = 10'000;
constexpr int kAnswerMilliseconds = 60'000;

constexpr int kRan = 0;
constexpr int kNotRun = 1;

QString Shown(const std::filesystem::path& path) {
  return QFile::decodeName(path.c_str());
}

int Fail(const QString& reason) {
  const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
  std::fprintf(stderr, "%s: %s\n", program.toLocal8Bit().constData(), reason.toLocal8Bit().constData());
  return kNotRun;
}

// Why the socket's file cannot be the bot's, or nothing.
std::optional<QString> RefusedSocketFile(const std::filesystem::path& directory, const std::filesystem::path& path) {
  if (const auto why = SocketPathTooLong(path)) {
    return QStringLiteral("no bot can be reached on %1: %2").arg(Shown(directory), *why);
  }
  const SocketFile file = InspectSocketFile(path);
  switch (file.kind) {
    case SocketFile::Kind::Missing:
      return QStringLiteral("no bot runs on %1 (there is no control socket %2)").arg(Shown(directory), Shown(path));
    case SocketFile::Kind::Unknown:
      return QStringLiteral("%1: %2").arg(Shown(path), QString::fromLocal8Bit(std::strerror(file.error)));
    case SocketFile::Kind::NotASocket:
      return QStringLiteral("%1 is no socket: no bot runs on %2").arg(Shown(path), Shown(directory));
    case SocketFile::Kind::Socket:
      break;
  }
  if (!TrustsSocketOf(file.owner)) {
    return QStringLiteral("%1 belongs to user %2, not to you (user %3): the line was not sent")
        .arg(Shown(path), QString::number(file.owner), QString::number(::geteuid()));
  }
  return std::nullopt;
}

QString ConnectError(const QLocalSocket& socket, const std::filesystem::path& directory,
                     const std::filesystem::path& path) {
  switch (socket.error()) {
    case QLocalSocket::ServerNotFoundError:
    case QLocalSocket::ConnectionRefusedError:
      // A socket left by a bot that was killed: nothing listens on it.
      return QStringLiteral("no bot runs on %1 (nothing listens on %2)").arg(Shown(directory), Shown(path));
    case QLocalSocket::SocketTimeoutError:
      return QStringLiteral("the bot on %1 did not take the connection within %2 seconds")
          .arg(Shown(directory))
          .arg(kConnectMilliseconds / 1000);
    default:
      return QStringLiteral("cannot connect to %1: %2").arg(Shown(path), socket.errorString());
  }
}

void WriteLine(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

enum class Answer {
  Ran,       // "done": the bot ran the line
  Refused,   // the bot said why it did not run it, and closed
  Closed,    // the connection ended without a word on the line
  TimedOut,  // no end of the answer within the deadline
};

// Writes the answer's lines as they come.
Answer ReadAnswer(QLocalSocket& socket) {
  const QDeadlineTimer deadline(kAnswerMilliseconds);
  std::string received;
  bool told = false;
  while (true) {
    received.append(socket.readAll().toStdString());
    std::size_t start = 0;
    for (std::size_t end = received.find('\n'); end != std::string::npos; end = received.find('\n', start)) {
      const std::optional<AnswerLine> line = ReadAnswerLine(std::string_view(received).substr(start, end - start));
      start = end + 1;
      if (!line) {
        continue;  // a line of a later protocol, which this client does not know
      }
      if (line->kind == AnswerLine::Kind::Done) {
        return Answer::Ran;
      }
      told = told || line->kind == AnswerLine::Kind::Error;
      WriteLine(line->kind == AnswerLine::Kind::Output ? stdout : stderr, line->text);
    }
    received.erase(0, start);
    if (socket.bytesAvailable() > 0) {
      continue;
    }
    if (socket.state() != QLocalSocket::ConnectedState) {
      return told ? Answer::Refused : Answer::Closed;
    }
    if (deadline.hasExpired()) {
      return Answer::TimedOut;
    }
    socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
  }
}

// Writes the whole line, however little the socket takes at a time.
bool SendWhole(QLocalSocket& socket, const QByteArray& bytes) {
  socket.write(bytes);
  while (socket.bytesToWrite() > 0) {
    if (!socket.waitForBytesWritten(kAnswerMilliseconds)) {
      return false;
    }
  }
  return true;
}

}  // namespace

int SendLineToBot(const std::filesystem::path& settingsDirectory, const QString& line) {
  const std::filesystem::path path = ControlSocketPath(settingsDirectory);
  if (const auto why = RefusedSocketFile(settingsDirectory, path)) {
    return Fail(*why);
  }
  // A bot that closes early makes a write fail, not end this program.
  std::signal(SIGPIPE, SIG_IGN);
  QLocalSocket socket;
  socket.connectToServer(Shown(path));
  if (!socket.waitForConnected(kConnectMilliseconds)) {
    return Fail(ConnectError(socket, settingsDirectory, path));
  }
  // The file's owner said whose the socket was; the process that listens on
  // it says whose it is now.
  const std::optional<uid_t> server = PeerUser(static_cast<int>(socket.socketDescriptor()));
  if (!server || !TrustsSocketOf(*server)) {
    return Fail(QStringLiteral("%1 is served by a process of another user: the line was not sent").arg(Shown(path)));
  }
  // A bot that refuses the line may close before all of it is written; its
  // answer says why, so it is read all the same.
  const bool sent = SendWhole(socket, line.toUtf8() + '\n');
  switch (ReadAnswer(socket)) {
    case Answer::Ran:
      return kRan;
    case Answer::Refused:
      return kNotRun;
    case Answer::Closed:
      break;
    case Answer::TimedOut:
      return Fail(QStringLiteral("the bot on %1 did not answer within %2 seconds")
                      .arg(Shown(settingsDirectory))
                      .arg(kAnswerMilliseconds / 1000));
  }
  if (!sent) {
    return Fail(QStringLiteral("the line could not be sent to %1: %2").arg(Shown(path), socket.errorString()));
  }
  return Fail(QStringLiteral("the bot on %1 closed the connection without saying that it ran the line")
                  .arg(Shown(settingsDirectory)));
}

}  // namespace varnek
