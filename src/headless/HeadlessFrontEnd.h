#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/model/Ports.h"
#include "core/store/OutputPanes.h"
#include "headless/ConsoleOutput.h"
#include "headless/JournalOutput.h"
#include "headless/TerminalInput.h"
#include "qt/HubCodec.h"

namespace varnek {

class BotActions;

// What the value of a missing connection setting stands for, as the messages
// that ask for it show it ("Dns=HOST[:PORT]").
QString MissingSettingValue(const std::string& key);

// What the window does, done without one: pane lines go to standard output,
// console lines come from standard input, and every question is answered by
// a fixed rule (written to standard error).
class HeadlessFrontEnd : public QObject,
                         public Dialogs,
                         public Shell,
                         public WindowPort,
                         public OutputPanes::Listener,
                         public ConsoleOutput {
  Q_OBJECT
 public:
  explicit HeadlessFrontEnd(HubCodec& codec);
  ~HeadlessFrontEnd() override;

  // Starts reading standard input and writing pane lines for this bot.
  void Attach(BotActions& bot);
  // Writes what standard output holds; runs whenever the event loop is about
  // to wait, so a reader sees every line at once, pipe or file alike.
  void FlushOutput();

  // Dialogs
  DialogAnswer MessageBox(DialogKind kind, DialogButtons buttons, const std::string& text, Question question) override;
  std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                      const std::string& initial) override;
  std::optional<int> PickColour(int initial) override;
  std::optional<std::string> PickFile(const std::string& directory, const std::string& filterName,
                                      const std::string& pattern, const std::string& title) override;
  // Shell
  void OpenUrl(const std::string& url) override;
  void SetClipboardText(const std::string& text) override;
  // WindowPort
  void Focus(const std::string&) override {}
  void SetApplicationIcon(IconKind) override {}
  void ScrollToEnd(const std::string&) override {}
  void EndProgram() override;
  void TellOperator(const std::string& text) override { Tell(ToUnicode(text)); }
  // OutputPanes::Listener
  void OnLineAdded(const OutputPane& pane, const std::string& line) override;
  void OnPaneCleared(const OutputPane&) override {}

  // Writes a message of the program itself to standard error.
  void Tell(const QString& text) override;
  // Writes the reply to a local command (in the hub's code page) to standard
  // output, one "reply" line per line of it.
  void Reply(std::string_view text) override;
  QString ToUnicode(const std::string& bytes) const override { return codec_.ToUnicode(bytes); }
  bool AtTerminal() const override { return terminal_ != nullptr; }

  // Handles the input gathered so far, one console line per line.
  void OnInputLine(const std::string& line);
  // Lets a build of the program take input lines of its own before they are
  // handled as console lines: a line for which `filter` returns true is taken.
  void SetInputFilter(std::function<bool(const std::string& line)> filter) { inputFilter_ = std::move(filter); }
  // Runs `handler` when standard input ends before it gave a single byte:
  // there is no console.
  void SetEmptyInputHandler(std::function<void()> handler) { emptyInputHandler_ = std::move(handler); }

 private:
  void ReadInput();
  // Reads standard input, a terminal of the program's own, with line editing.
  void StartLineEditing(BotActions& bot);
  void StopReading();
  // Stops reading and says, once, how the program is stopped from now on.
  void EndOfInput();
  void TellInputOfAnotherJob();
  // Whether standard input can be read without the terminal stopping the
  // program: a terminal is read only by the foreground process group.
  bool InputReadable();
  // On a start without a hub or nick, says what is missing and how to set it.
  void TellWhatIsMissing();
  // Appends the lines of a text in UTF-8, each as the pane's name, a tab and
  // the line with its control characters shown, after the journal priority
  // when standard output is the journal's.
  void AppendShownLine(std::string_view priority, const char* paneName, std::string_view line);
  void FlushWhenFull();

  HubCodec& codec_;
  BotActions* bot_ = nullptr;
  std::unique_ptr<QSocketNotifier> inputNotifier_;
  // Line editing, when standard input is a terminal of this program's own.
  std::unique_ptr<TerminalInput> terminal_;
  std::string input_;
  std::function<bool(const std::string& line)> inputFilter_;
  std::function<void()> emptyInputHandler_;
  bool inputSeen_ = false;
  const JournalStreams journal_ = JournalStreams::OfThisProcess();
  // What is waiting for standard output; cleared after each write but keeps
  // its memory, so a flood of lines costs no allocation per line.
  std::string output_;
};

}  // namespace varnek
