#include "headless/TerminalInput.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

// Readline's headers use FILE without including <cstdio> themselves.
#include <readline/history.h>
#include <readline/readline.h>

#include "core/text/Ascii.h"

namespace varnek {
namespace {

// Readline calls plain functions; they reach the one input through this.
TerminalInput* active = nullptr;

constexpr char kPrompt[] = "varnek> ";
// What Readline puts after a word it has completed.
constexpr int kAppendBlank = ' ';
constexpr int kAppendNothing = 0;

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && AsciiEqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

std::string_view WithoutLeadingBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') {
    text.remove_prefix(1);
  }
  return text;
}

// A line that sets the password, ":set Password ..." or the console's
// "%password ..." (whatever the trigger): the history never keeps it, so the
// arrow keys cannot bring the password back to the screen.
bool SetsPassword(std::string_view line) {
  constexpr std::string_view kSet = ":set ";
  constexpr std::string_view kKey = "password";
  if (line.starts_with(kSet)) {
    const std::string_view rest = WithoutLeadingBlanks(line.substr(kSet.size()));
    return StartsWithIgnoreCase(rest, kKey) && (rest.size() == kKey.size() || rest[kKey.size()] == ' ');
  }
  return line.size() > 1 && line.substr(1).starts_with("password ");
}

// The local command whose argument is being typed: ":set" in ":set Dn",
// empty while the first word is still being typed or after the second.
std::string_view CommandBefore(std::string_view before) {
  const std::size_t blank = before.find(' ');
  if (blank == std::string_view::npos || !WithoutLeadingBlanks(before.substr(blank)).empty()) {
    return {};
  }
  return before.substr(0, blank);
}

bool InForeground() {
  return ::tcgetpgrp(STDIN_FILENO) == ::getpgrp();
}

// The pipe's end that SIGCONT's handler writes to.
int continueWriteEnd = -1;

void OnContinue(int /*signal*/) {
  const int savedErrno = errno;
  const char byte = 'c';
  [[maybe_unused]] const ssize_t written = ::write(continueWriteEnd, &byte, 1);
  errno = savedErrno;
}

// Readline's hook for setting the terminal's modes back, while the terminal
// is another job's.
void LeaveModesAlone() {}

// Where the prompt is drawn: with the pane lines when they go to the
// terminal, or else with the messages on standard error.
FILE* PromptStream() {
  return ::isatty(STDOUT_FILENO) == 1 ? stdout : stderr;
}

}  // namespace

bool TerminalInput::Usable() {
  return ::isatty(STDIN_FILENO) == 1 && InForeground() &&
         (::isatty(STDOUT_FILENO) == 1 || ::isatty(STDERR_FILENO) == 1);
}

TerminalInput::TerminalInput(Words words, std::function<void(const std::string&)> onLine,
                             std::function<void(End)> onEnd)
    : words_(std::move(words)),
      onLine_(std::move(onLine)),
      onEnd_(std::move(onEnd)),
      stdoutShared_(::isatty(STDOUT_FILENO) == 1),
      stderrShared_(::isatty(STDERR_FILENO) == 1) {
  active = this;
  rl_readline_name = "varnek";
  rl_instream = stdin;
  rl_outstream = PromptStream();
  // The program's own handlers end it (SIGINT, SIGTERM) and restore the
  // terminal on the way out; Readline's would hold a signal until the next
  // key. Nor does it set LINES and COLUMNS in the environment.
  rl_catch_signals = 0;
  rl_catch_sigwinch = 0;
  rl_change_environment = 0;
  rl_attempted_completion_function = &TerminalInput::Complete;
  rl_basic_word_break_characters = " ";
  rl_completer_word_break_characters = " ";
  rl_callback_handler_install(kPrompt, &TerminalInput::OnLine);
  installed_ = true;
  std::fflush(rl_outstream);

  // Without this a job stopped with Ctrl-Z and brought back with "fg" would
  // read keys in the shell's modes: echoed twice, and only after Return.
  if (::pipe2(continuePipe_, O_CLOEXEC | O_NONBLOCK) == 0) {
    continueWriteEnd = continuePipe_[1];
    continueNotifier_ = std::make_unique<QSocketNotifier>(continuePipe_[0], QSocketNotifier::Read);
    QObject::connect(continueNotifier_.get(), &QSocketNotifier::activated, [this] { Continued(); });
    struct sigaction action = {};
    action.sa_handler = OnContinue;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGCONT, &action, &previousContinueAction_);
  }
}

TerminalInput::~TerminalInput() {
  if (installed_) {
    if (InForeground()) {
      rl_clear_visible_line();
    }
    RemoveHandler();
    std::fflush(rl_outstream);
  }
  if (continueNotifier_) {
    ::sigaction(SIGCONT, &previousContinueAction_, nullptr);
    continueNotifier_.reset();
    continueWriteEnd = -1;
    ::close(continuePipe_[0]);
    ::close(continuePipe_[1]);
  }
  rl_attempted_completion_function = nullptr;
  active = nullptr;
}

void TerminalInput::RemoveHandler() {
  rl_voidfunc_t* const deprep = rl_deprep_term_function;
  if (!InForeground()) {
    rl_deprep_term_function = &LeaveModesAlone;
  }
  rl_callback_handler_remove();
  rl_deprep_term_function = deprep;
  installed_ = false;
}

void TerminalInput::Continued() {
  char bytes[16];
  while (::read(continuePipe_[0], bytes, sizeof bytes) > 0) {
  }
  if (!installed_ || !InForeground()) {
    // In the background the next read fails, and that ends the reading.
    return;
  }
  // A new handler takes the terminal's modes as they are now and shows the
  // prompt again, on the line the shell has left the cursor on.
  const std::string typed(rl_line_buffer, static_cast<std::size_t>(rl_end));
  const int point = rl_point;
  rl_clear_visible_line();
  RemoveHandler();
  rl_callback_handler_install(kPrompt, &TerminalInput::OnLine);
  installed_ = true;
  rl_replace_line(typed.c_str(), 0);
  rl_point = point;
  rl_redisplay();
  std::fflush(rl_outstream);
}

void TerminalInput::ReadAvailable() {
  if (!installed_) {
    return;
  }
  // The terminal's size as it is now: no handler of Readline's listens for
  // SIGWINCH.
  rl_reset_screen_size();
  rl_callback_read_char();
  std::fflush(rl_outstream);
}

void TerminalInput::OnLine(char* line) {
  TerminalInput& self = *active;
  if (line == nullptr) {
    self.EndInput();
    return;
  }
  const std::string text(line);
  std::free(line);  // NOLINT(cppcoreguidelines-no-malloc): Readline's malloc'd line
  if (!text.empty() && !SetsPassword(text)) {
    add_history(text.c_str());
  }
  self.runningLine_ = true;
  self.onLine_(text);
  self.runningLine_ = false;
}

void TerminalInput::EndInput() {
  // A read in the background fails, which Readline takes for the end.
  const End end = InForeground() ? End::Closed : End::AnotherJob;
  if (end == End::Closed) {
    // Readline leaves the cursor behind the prompt: the messages that
    // follow begin on a line of their own.
    std::fputc('\n', rl_outstream);
  }
  RemoveHandler();
  std::fflush(rl_outstream);
  onEnd_(end);
}

char** TerminalInput::Complete(const char* text, int start, int /*end*/) {
  rl_attempted_completion_over = 1;  // never file names
  TerminalInput& self = *active;
  const std::string_view typed(text);
  const std::string_view before(rl_line_buffer, static_cast<std::size_t>(start));
  const std::string_view command = CommandBefore(before);
  self.matches_.clear();
  if (before.empty()) {
    for (const std::string& name : self.words_.commands) {
      const std::string call = ":" + name;
      if (call.starts_with(typed)) {
        self.matches_.push_back(call);
      }
    }
    rl_completion_append_character = kAppendBlank;
  } else if (command == ":set" || command == ":get") {
    for (const std::string& key : self.words_.settingKeys) {
      if (StartsWithIgnoreCase(key, typed)) {
        self.matches_.push_back(key);
      }
    }
    // ":set KEY" goes on with the value; ":get KEY" is complete.
    rl_completion_append_character = command == ":set" ? kAppendBlank : kAppendNothing;
  }
  return rl_completion_matches(text, &TerminalInput::NextMatch);
}

char* TerminalInput::NextMatch(const char* /*text*/, int state) {
  TerminalInput& self = *active;
  if (state == 0) {
    self.nextMatch_ = 0;
  }
  if (self.nextMatch_ >= self.matches_.size()) {
    return nullptr;
  }
  // Readline frees what it is given.
  return ::strdup(self.matches_[self.nextMatch_++].c_str());
}

void TerminalInput::Hide() {
  if (hidden_++ > 0 || !PromptShown()) {
    return;
  }
  rl_clear_visible_line();
  std::fflush(rl_outstream);
}

void TerminalInput::Show() {
  if (--hidden_ > 0 || !PromptShown()) {
    return;
  }
  rl_forced_update_display();
  std::fflush(rl_outstream);
}

TerminalInput::PromptAside::PromptAside(TerminalInput* input, int fd) {
  if (input != nullptr &&
      ((fd == STDOUT_FILENO && input->stdoutShared_) || (fd == STDERR_FILENO && input->stderrShared_))) {
    input_ = input;
    input_->Hide();
  }
}

TerminalInput::PromptAside::~PromptAside() {
  if (input_ != nullptr) {
    input_->Show();
  }
}

}  // namespace varnek
