#include "headless/ControlSession.h"

#include <QLocalSocket>

#include "core/text/TerminalText.h"
#include "headless/ControlProtocol.h"
#include "headless/HeadlessConsole.h"
#include "headless/TextLines.h"
#include "qt/HubCodec.h"

namespace varnek {
namespace {

// How long a client has, from its connection on, to send its line and read
// the answer. Sending is one write and the answer a few kilobytes, so only a
// client that has stopped (or never meant to talk) needs this long.
constexpr int kSessionMilliseconds = 30'000;

std::string_view View(const QByteArray& bytes) {
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace

ControlSession::ControlSession(QLocalSocket* socket, BotActions& bot, HubCodec& codec, QObject* parent)
    : QObject(parent), socket_(socket), bot_(bot), codec_(codec) {
  socket_->setParent(this);
  // Qt reads no more than the longest line (and its CR LF) ahead of the
  // session, so a client that sends without end costs no memory.
  socket_->setReadBufferSize(static_cast<qint64>(kMaxControlLineBytes) + 2);
  connect(socket_, &QLocalSocket::readyRead, this, &ControlSession::OnReadable);
  connect(socket_, &QLocalSocket::disconnected, this, &ControlSession::OnDisconnected);
  deadline_.setSingleShot(true);
  connect(&deadline_, &QTimer::timeout, this, [this] { socket_->abort(); });
  connect(&deadline_, &QTimer::timeout, this, &ControlSession::Finish);
  deadline_.start(kSessionMilliseconds);
}

void ControlSession::OnReadable() {
  if (answered_) {
    return;  // one line per connection: anything after it is not read
  }
  const qint64 room = static_cast<qint64>(kMaxControlLineBytes) + 2 - static_cast<qint64>(received_.size());
  received_.append(View(socket_->read(room)));
  ReceivedLine line = ReadControlLine(received_);
  switch (line.state) {
    case ReceivedLine::State::Incomplete:
      return;
    case ReceivedLine::State::TooLong:
      Refuse(QStringLiteral("the line is longer than %1 bytes: it was not run").arg(kMaxControlLineBytes));
      return;
    case ReceivedLine::State::Complete:
      RunLine(line.line);
      return;
  }
}

void ControlSession::RunLine(const std::string& line) {
  answered_ = true;
  received_.clear();
  // As a line from standard input: UTF-8, sent on in the hub's code page.
  const std::string bytes = codec_.ToHub(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
  RunConsoleLine(bot_, *this, bytes);
  answer_.append(kDoneLine).append(1, '\n');
  SendAndClose();
}

void ControlSession::Refuse(const QString& why) {
  answered_ = true;
  Tell(why);
  SendAndClose();
}

void ControlSession::SendAndClose() {
  if (socket_->state() != QLocalSocket::ConnectedState) {
    return;  // the client went; the line ran all the same
  }
  socket_->write(answer_.data(), static_cast<qint64>(answer_.size()));
  answer_.clear();
  // Written at once: a ":quit" ends the program before the event loop would
  // write it.
  FlushNow();
  socket_->disconnectFromServer();
}

void ControlSession::FlushNow() {
  if (socket_->state() == QLocalSocket::ConnectedState || socket_->state() == QLocalSocket::ClosingState) {
    socket_->flush();
  }
}

void ControlSession::OnDisconnected() {
  // A client may send its line and close at once without reading the answer.
  // The line came whole, so it runs: the client asked for it, and it is read
  // from what Qt still holds.
  OnReadable();
  Finish();
}

void ControlSession::Finish() {
  if (finished_) {
    return;
  }
  finished_ = true;
  deadline_.stop();
  emit Finished();
}

void ControlSession::AppendLines(std::string_view tag, std::string_view firstPrefix, std::string_view prefix,
                                 std::string_view utf8) {
  bool first = true;
  ForEachLine(utf8, [&](std::string_view line) {
    answer_.append(tag).append(first ? firstPrefix : prefix);
    first = false;
    AppendForTerminal(answer_, line);
    answer_.append(1, '\n');
  });
}

void ControlSession::Tell(const QString& text) {
  // As the program writes its own messages to standard error: the first
  // line says whose it is.
  AppendLines(kErrorTag, "varnek: ", "", View(text.toUtf8()));
}

void ControlSession::Reply(std::string_view text) {
  // As the program writes a reply to standard output, every line tagged.
  if (!codec_.KeepsAscii() || !IsAscii(text)) {
    AppendLines(kOutputTag, "reply\t", "reply\t", View(codec_.ToUnicode(text).toUtf8()));
    return;
  }
  AppendLines(kOutputTag, "reply\t", "reply\t", text);
}

QString ControlSession::ToUnicode(const std::string& bytes) const {
  return codec_.ToUnicode(bytes);
}

}  // namespace varnek
