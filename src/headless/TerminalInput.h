#pragma once

#include <QSocketNotifier>
#include <csignal>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace varnek {

// Line editing for a person at a terminal: GNU Readline's callback interface,
// fed one key at a time from the event loop, with the session's history (in
// memory only) and Tab completion of the local commands and, after ":set " and
// ":get ", of the settings keys. Readline keeps one state per process, so at
// most one of these exists at a time.
class TerminalInput {
 public:
  struct Words {
    std::vector<std::string> commands;     // without the ":"
    std::vector<std::string> settingKeys;  // completed after ":set " and ":get "
  };

  // Whether standard input is a terminal that this process reads in the
  // foreground, with standard output or standard error on a terminal for the
  // prompt. Anything else (a pipe, a file, /dev/null) is read as it is.
  static bool Usable();

  // How reading ended.
  enum class End {
    Closed,      // Ctrl-D on an empty line, a terminal hung up
    AnotherJob,  // the program was put in the background: the terminal is another job's
  };

  // Shows the prompt and puts the terminal into Readline's mode. `onLine`
  // gets every line typed; `onEnd` is called once when reading ends, after
  // the terminal is restored (left alone when it is another job's).
  TerminalInput(Words words, std::function<void(const std::string&)> onLine, std::function<void(End)> onEnd);
  // Takes the prompt off the screen and restores the terminal.
  ~TerminalInput();
  TerminalInput(const TerminalInput&) = delete;
  TerminalInput& operator=(const TerminalInput&) = delete;

  // Reads what the terminal holds; called whenever standard input is readable.
  void ReadAvailable();

  // While one lives, the prompt and the half-typed line are off the screen,
  // so that output written to `fd` neither lands in the typed line nor is
  // overwritten by it; they come back below the output when it goes. Does
  // nothing for a null input, an fd that is no terminal or while no prompt
  // is shown. May nest.
  class PromptAside {
   public:
    PromptAside(TerminalInput* input, int fd);
    ~PromptAside();
    PromptAside(const PromptAside&) = delete;
    PromptAside& operator=(const PromptAside&) = delete;

   private:
    TerminalInput* input_ = nullptr;
  };

 private:
  static void OnLine(char* line);
  static char** Complete(const char* text, int start, int end);
  static char* NextMatch(const char* text, int state);

  bool PromptShown() const { return installed_ && !runningLine_; }
  void Hide();
  void Show();
  void EndInput();
  // Leaves Readline's mode; the terminal's modes are set back only while it
  // is this program's, never under another job.
  void RemoveHandler();
  // After SIGCONT: a shell that stopped the program (Ctrl-Z) has set the
  // terminal back to its own modes, so Readline's are set again.
  void Continued();

  Words words_;
  std::function<void(const std::string&)> onLine_;
  std::function<void(End)> onEnd_;
  // SIGCONT's handler writes a byte here; the event loop reads it.
  int continuePipe_[2] = {-1, -1};
  std::unique_ptr<QSocketNotifier> continueNotifier_;
  struct sigaction previousContinueAction_ = {};
  bool installed_ = false;
  // The line handler runs with the prompt already gone and the terminal in
  // its own mode; Readline shows the prompt again after it returns.
  bool runningLine_ = false;
  int hidden_ = 0;
  bool stdoutShared_ = false;
  bool stderrShared_ = false;
  // The candidates of the completion that Readline is asking for, one by one.
  std::vector<std::string> matches_;
  std::size_t nextMatch_ = 0;
};

}  // namespace varnek
