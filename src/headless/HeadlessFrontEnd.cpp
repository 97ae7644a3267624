#include "headless/HeadlessFrontEnd.h"

#include <fcntl.h>
#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstdio>

#include "core/BotActions.h"
#include "core/text/Strings.h"
#include "core/text/TerminalText.h"
#include "headless/HeadlessConsole.h"
#include "headless/TextLines.h"

namespace varnek {
namespace {

const char* PaneName(PaneId id) {
  switch (id) {
    case PaneId::Chat:
      return "chat";
    case PaneId::Status:
      return "status";
    case PaneId::Debug:
      break;
  }
  return "debug";
}

const char* AnswerText(DialogAnswer answer) {
  switch (answer) {
    case DialogAnswer::Yes:
      return "Yes";
    case DialogAnswer::No:
      return "No";
    case DialogAnswer::Ok:
      break;
  }
  return "OK";
}

// The rules by which the headless program answers the window's questions.
DialogAnswer AnswerFor(Question question) {
  switch (question) {
    case Question::UseStandardPort:
    case Question::Exit:
      return DialogAnswer::Yes;
    case Question::Redirect:
    case Question::Update:
    case Question::UnexpectedError:
    case Question::ChangedCertificate:  // the operator decides with ":trust"
    case Question::None:
      break;
  }
  return DialogAnswer::No;
}

}  // namespace

HeadlessFrontEnd::HeadlessFrontEnd(HubCodec& codec) : codec_(codec) {
  connect(QAbstractEventDispatcher::instance(QThread::currentThread()), &QAbstractEventDispatcher::aboutToBlock, this,
          &HeadlessFrontEnd::FlushOutput);
}

HeadlessFrontEnd::~HeadlessFrontEnd() {
  FlushOutput();
}

void HeadlessFrontEnd::Attach(BotActions& bot) {
  bot_ = &bot;
  bot.Panes().AddListener(this);
  // A process in the background that reads or writes its terminal is
  // stopped by the kernel ("tty input"); ignored, the read fails instead and
  // the program goes on without its input.
  std::signal(SIGTTIN, SIG_IGN);
  std::signal(SIGTTOU, SIG_IGN);
  if (InputReadable()) {
    inputNotifier_ = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
    if (TerminalInput::Usable()) {
      StartLineEditing(bot);
    } else {
      connect(inputNotifier_.get(), &QSocketNotifier::activated, this, &HeadlessFrontEnd::ReadInput);
    }
  }
  // Once the event loop runs, that is after the settings are loaded.
  QTimer::singleShot(0, this, &HeadlessFrontEnd::TellWhatIsMissing);
}

bool HeadlessFrontEnd::InputReadable() {
  if (::fcntl(STDIN_FILENO, F_GETFL) == -1) {
    return false;  // closed
  }
  if (::isatty(STDIN_FILENO) == 1 && ::tcgetpgrp(STDIN_FILENO) != ::getpgrp()) {
    Tell(
        QStringLiteral("standard input is a terminal that another job reads (started with \"&\"?): it is not "
                       "read; commands come from a pipe or a FIFO"));
    return false;
  }
  return true;
}

void HeadlessFrontEnd::StopReading() {
  inputNotifier_->setEnabled(false);
  if (!input_.empty()) {
    const std::string last = std::move(input_);
    input_.clear();
    OnInputLine(last);
  }
}

void HeadlessFrontEnd::StartLineEditing(BotActions& bot) {
  terminal_ = std::make_unique<TerminalInput>(
      TerminalInput::Words{.commands = LocalCommandNames(), .settingKeys = bot.SettingKeys()},
      [this](const std::string& line) { OnInputLine(line); },
      [this](TerminalInput::End end) {
        if (end == TerminalInput::End::AnotherJob) {
          TellInputOfAnotherJob();
          StopReading();
        } else {
          EndOfInput();
        }
      });
  connect(inputNotifier_.get(), &QSocketNotifier::activated, this, [this] { terminal_->ReadAvailable(); });
}

void HeadlessFrontEnd::TellInputOfAnotherJob() {
  Tell(QStringLiteral("standard input is a terminal of another job now: it is no longer read"));
}

void HeadlessFrontEnd::EndOfInput() {
  // End of input does not stop the program; it just stops listening.
  StopReading();
  Tell(QStringLiteral("standard input closed; stop the bot with SIGTERM or :quit from --send"));
}

void HeadlessFrontEnd::ReadInput() {
  char chunk[4096];
  const ssize_t count = ::read(STDIN_FILENO, chunk, sizeof chunk);
  if (count < 0 && (errno == EINTR || errno == EAGAIN)) {
    return;  // nothing lost; the notifier calls again
  }
  if (count < 0 && errno == EIO) {
    // The terminal belongs to the foreground job now (the program was put
    // in the background); reading it would stop the program.
    TellInputOfAnotherJob();
    StopReading();
    return;
  }
  if (count <= 0) {
    if (!inputSeen_) {
      // Input that never came (/dev/null under a service manager) needs no
      // word, unless it leaves the bot without a hub to go to.
      StopReading();
      if (emptyInputHandler_) {
        emptyInputHandler_();
      }
      return;
    }
    EndOfInput();
    return;
  }
  inputSeen_ = true;
  input_.append(chunk, static_cast<std::size_t>(count));
  std::size_t start = 0;
  for (std::size_t end = input_.find('\n'); end != std::string::npos; end = input_.find('\n', start)) {
    std::string line = input_.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    start = end + 1;
    OnInputLine(line);
  }
  input_.erase(0, start);
}

void HeadlessFrontEnd::OnInputLine(const std::string& line) {
  if (bot_ == nullptr || (inputFilter_ && inputFilter_(line))) {
    return;
  }
  const std::string bytes = codec_.ToHub(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
  RunConsoleLine(*bot_, *this, bytes);
}

void HeadlessFrontEnd::OnLineAdded(const OutputPane& pane, const std::string& line) {
  // Every shown line gets the pane's name, also the lines of a text that
  // holds line breaks of its own (the help text).
  const char* name = PaneName(pane.Id());
  // The journal keeps each line's time: its lines go without the stamp.
  const std::string_view priority = journal_.PanePriority(pane.Id());
  const std::string_view text = std::string_view(line).substr(journal_.output ? bot_->Panes().LastStampLength() : 0);
  if (codec_.KeepsAscii() && !MayHoldTerminalControls(text)) {
    // ASCII with no control character (so no line break either), the same
    // in UTF-8: written as it is, after one quick look at its bytes.
    output_.append(priority).append(name).append(1, '\t').append(text).append(1, '\n');
    FlushWhenFull();
    return;
  }
  if (!codec_.KeepsAscii() || !IsAscii(text)) {
    const QByteArray shown = codec_.ToUnicode(text).toUtf8();
    AppendShownLine(priority, name, std::string_view(shown.constData(), static_cast<std::size_t>(shown.size())));
    return;
  }
  // ASCII is the same in UTF-8.
  AppendShownLine(priority, name, text);
}

// Lines wait for the event loop to go idle, but never more than this many
// bytes: a long burst of work is written in pieces instead of growing one
// buffer (and the memory it keeps) with every line of the burst.
constexpr std::size_t kOutputChunk = std::size_t{64} * 1024;

// Control characters from the hub are shown, not obeyed by the terminal
// (and not kept as bytes by a journal); the line breaks of a text of several
// lines stay line breaks, one output line each.
void HeadlessFrontEnd::AppendShownLine(std::string_view priority, const char* paneName, std::string_view text) {
  ForEachLine(text, [this, priority, paneName](std::string_view shown) {
    output_.append(priority).append(paneName).append(1, '\t');
    AppendForTerminal(output_, shown);
    output_.append(1, '\n');
  });
  FlushWhenFull();
}

void HeadlessFrontEnd::FlushWhenFull() {
  if (output_.size() >= kOutputChunk) {
    FlushOutput();
  }
}

void HeadlessFrontEnd::FlushOutput() {
  if (output_.empty()) {
    return;
  }
  const TerminalInput::PromptAside aside(terminal_.get(), STDOUT_FILENO);
  std::fwrite(output_.data(), 1, output_.size(), stdout);
  std::fflush(stdout);
  output_.clear();
}

void HeadlessFrontEnd::Reply(std::string_view text) {
  const std::string_view priority = journal_.ReplyPriority();
  if (!codec_.KeepsAscii() || !IsAscii(text)) {
    const QByteArray shown = codec_.ToUnicode(text).toUtf8();
    AppendShownLine(priority, "reply", std::string_view(shown.constData(), static_cast<std::size_t>(shown.size())));
    return;
  }
  AppendShownLine(priority, "reply", text);
}

QString MissingSettingValue(const std::string& key) {
  return key == "Dns" ? QStringLiteral("HOST[:PORT]") : QStringLiteral("NICK");
}

void HeadlessFrontEnd::TellWhatIsMissing() {
  if (bot_ == nullptr) {
    return;
  }
  const std::vector<std::string> missing = bot_->MissingConnectionSettings();
  if (missing.empty()) {
    return;
  }
  const QString file = QString::fromStdString(bot_->SettingsFilePath().string());
  for (const std::string& key : missing) {
    const QString name = QString::fromStdString(key);
    Tell(QStringLiteral("no %1 is set: type \":set %1 %2\" (or put %1= under [Settings] in %3)")
             .arg(name, MissingSettingValue(key), file));
  }
  Tell(QStringLiteral("then \":connect\"; \":set Connect 1\" and \":save\" connect at every start"));
}

void HeadlessFrontEnd::Tell(const QString& text) {
  // One gap in the prompt for both writes.
  const TerminalInput::PromptAside aside(terminal_.get(), STDERR_FILENO);
  const TerminalInput::PromptAside outputAside(terminal_.get(), STDOUT_FILENO);
  FlushOutput();
  // A question, a user's information or a clipboard text may hold the hub's
  // text. Its line breaks stay line breaks (":user" writes several lines),
  // as on standard output.
  const QByteArray bytes = text.toUtf8();
  const std::string_view whole(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  const std::string_view priority = journal_.MessagePriority();
  std::string shown;
  bool first = true;
  ForEachLine(whole, [&](std::string_view line) {
    if (!first) {
      shown.append(1, '\n').append(priority);
    }
    first = false;
    AppendForTerminal(shown, line);
  });
  std::fprintf(stderr, "%.*svarnek: %s\n", static_cast<int>(priority.size()), priority.data(), shown.c_str());
  std::fflush(stderr);
}

DialogAnswer HeadlessFrontEnd::MessageBox(DialogKind kind, DialogButtons buttons, const std::string& text,
                                          Question question) {
  const QString shown = codec_.ToUnicode(ReplaceAll(text, "\r\n", " "));
  if (buttons == DialogButtons::Ok) {
    Tell((kind == DialogKind::Warning ? QStringLiteral("warning: ") : QString()) + shown);
    return DialogAnswer::Ok;
  }
  const DialogAnswer answer = AnswerFor(question);
  Tell(QStringLiteral("question: ") + shown + QStringLiteral(" -> ") + QLatin1String(AnswerText(answer)));
  if (question == Question::ChangedCertificate) {
    Tell(QStringLiteral("type \":trust\" to trust the new certificate and connect"));
  }
  return answer;
}

std::optional<std::string> HeadlessFrontEnd::InputBox(const std::string& /*title*/, const std::string& prompt,
                                                      const std::string& /*initial*/) {
  Tell(QStringLiteral("input asked (cancelled): ") + codec_.ToUnicode(prompt));
  return std::nullopt;
}

std::optional<int> HeadlessFrontEnd::PickColour(int) {
  return std::nullopt;
}

std::optional<std::string> HeadlessFrontEnd::PickFile(const std::string&, const std::string&, const std::string&,
                                                      const std::string&) {
  return std::nullopt;
}

void HeadlessFrontEnd::OpenUrl(const std::string& url) {
  Tell(QStringLiteral("open ") + codec_.ToUnicode(url));
}

void HeadlessFrontEnd::SetClipboardText(const std::string& text) {
  Tell(QStringLiteral("clipboard: ") + codec_.ToUnicode(text));
}

void HeadlessFrontEnd::EndProgram() {
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

}  // namespace varnek
