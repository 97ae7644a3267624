#pragma once

#include <QObject>
#include <QTimer>
#include <string>
#include <string_view>

#include "headless/ConsoleOutput.h"

class QLocalSocket;

namespace varnek {

class BotActions;
class HubCodec;

// One client of the control socket: reads its line, runs it as a console
// line typed on standard input would run, and sends the client the answers,
// each tagged with the stream the program would have written it to; then
// closes. Everything happens on the event loop; a client that sends nothing
// or reads nothing is dropped after a deadline, and the bot never waits for
// it.
class ControlSession : public QObject, public ConsoleOutput {
  Q_OBJECT
 public:
  // Takes the connection over (it becomes this session's child).
  ControlSession(QLocalSocket* socket, BotActions& bot, HubCodec& codec, QObject* parent);

  // Sends a message of the program and closes without running anything.
  void Refuse(const QString& why);
  // Writes what the kernel takes of the answer now, without waiting: at the
  // program's end, before the connection goes with it.
  void FlushNow();

  // ConsoleOutput, for the line's answers.
  void Tell(const QString& text) override;
  void Reply(std::string_view text) override;
  QString ToUnicode(const std::string& bytes) const override;

 signals:
  // The connection is closed; the session may be deleted.
  void Finished();

 private:
  void OnReadable();
  void OnDisconnected();
  void RunLine(const std::string& line);
  // The session is over, the line run or not: once.
  void Finish();
  // Appends the text's lines to the answer, each after the tag and a prefix
  // (the first line's own), with control characters shown.
  void AppendLines(std::string_view tag, std::string_view firstPrefix, std::string_view prefix, std::string_view utf8);
  // Sends the answer gathered so far and closes once it is written.
  void SendAndClose();

  QLocalSocket* socket_;
  BotActions& bot_;
  HubCodec& codec_;
  QTimer deadline_;
  std::string received_;
  std::string answer_;
  bool answered_ = false;
  bool finished_ = false;
};

}  // namespace varnek
