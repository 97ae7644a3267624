#include "headless/HeadlessProgram.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstdio>

#include "core/Bot.h"
#include "core/BotActions.h"
#include "core/text/TerminalText.h"
#include "headless/ControlSocket.h"
#include "headless/HeadlessFrontEnd.h"
#include "headless/SendLine.h"
#include "headless/UnattendedStart.h"
#include "qt/ProcessSignals.h"
#include "qt/ProgramArguments.h"
#include "qt/ProgramStart.h"
#include "qt/QtServices.h"
#include "qt/ServiceNotifier.h"

namespace varnek {
namespace {

constexpr ProgramDescription kDescription{
    "Varnek, the Direct Connect hub bot, without a window.",
    "Standard input: each line is a console line, as typed into the window's command\n"
    "line: text goes to the hub's main chat, %help and the other console commands\n"
    "work, and lines beginning with ':' are this program's own commands (:help\n"
    "lists them). End of input does not stop the program, unless it comes before\n"
    "any input while no hub or nick is set: then Varnek.ini is written with the\n"
    "defaults, the keys to set are named, and the exit status is 78.\n"
    "\n"
    "Standard output: every line a pane receives, as the pane's name (chat, status\n"
    "or debug), a tab and the line, in UTF-8, with control characters shown\n"
    "(ESC as ^[). Questions and warnings go to standard error.\n"
    "\n"
    "Files: with --dir DIR everything is kept in DIR. Otherwise an installed\n"
    "program keeps Varnek.ini in $XDG_CONFIG_HOME/varnek/ (~/.config/varnek/) and\n"
    "its logs in $XDG_STATE_HOME/varnek/logs/ (~/.local/state/varnek/logs/); a\n"
    "copy in a writable directory of its own keeps everything beside itself.\n"
    "$LOGS_DIRECTORY (a service's) takes the logs in each case.\n"
    "\n"
    "Control socket: a running program takes console lines from --send through\n"
    "varnek.sock beside Varnek.ini, from its own user and root only; the answer\n"
    "comes back as it would be written for standard input.\n"
    "\n"
    "Signals: SIGINT and SIGTERM save and exit, SIGHUP reads Varnek.ini again,\n"
    "SIGUSR1 saves.\n",
    true};

Ports WithClock(const Ports& ports, Clock* clock) {
  if (clock == nullptr) {
    return ports;
  }
  return Ports{ports.transport, *clock,     ports.dialogs, ports.shell,
               ports.window,    ports.http, ports.media,   ports.codePages};
}

// A program started with standard input, output or error closed would hand
// those numbers to the first files it opens (the event loop's own eventfd),
// and the console would read the event loop's wake-ups as its input. Before
// anything opens a file, /dev/null takes each closed one: open() gives the
// lowest free number, which is that one.
void HoldClosedStandardStreams() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
      ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);  // NOLINT(cppcoreguidelines-pro-type-vararg)
    }
  }
}

// The connection's status for the service manager, in UTF-8 with the
// control characters of a hub's text shown.
std::string ShownStatus(const BotActions& bot, const HubCodec& codec) {
  const QByteArray text = codec.ToUnicode(bot.ConnectionStatus()).toUtf8();
  std::string shown;
  AppendForTerminal(shown, std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
  return shown;
}

}  // namespace

int RunHeadlessProgram(int argc, char* argv[], const HeadlessTime& time) {
  HoldClosedStandardStreams();
  QCoreApplication application(argc, argv);
  const ProgramArguments arguments = ReadProgramArguments(QCoreApplication::arguments(), kDescription);
  if (const auto status = AnswerWithoutRunning(arguments)) {
    return *status;
  }
  ProgramStart start(arguments);
  if (arguments.action == ProgramArguments::Action::CheckSettings) {
    return start.CheckSettings();
  }
  if (arguments.action == ProgramArguments::Action::SendLine) {
    return SendLineToBot(start.Paths().settings, arguments.sendLine);
  }
  if (const auto status = start.Prepare()) {
    return *status;
  }
  std::signal(SIGPIPE, SIG_IGN);
  if (!ProcessSignals::Install()) {
    std::perror("varnek: signals");
    return 1;
  }

  QtServices services;
  HeadlessFrontEnd frontEnd(services.codec);
  Bot core(WithClock(services.PortsWith(frontEnd, frontEnd, frontEnd), time.clock), start.Paths());
  BotActions bot(core);
  services.FollowEncoding(bot);
  frontEnd.Attach(bot);
  ControlSocket controlSocket(bot, services.codec, frontEnd);
  controlSocket.Listen(start.Paths().settings);

  ProcessSignals signalActions(bot);

  QTimer timer;
  if (time.driveTimer) {
    time.driveTimer(bot, frontEnd);
  } else {
    timer.setInterval(1000);
    QObject::connect(&timer, &QTimer::timeout, [&] { bot.TimerTick(); });
    timer.start();
  }

  bot.Start();
  if (const auto status = RefuseUnattendedStart(bot, frontEnd)) {
    return *status;
  }
  ServiceNotifier notifier;
  notifier.Ready([&] { return ShownStatus(bot, services.codec); });
  const int status = application.exec();
  notifier.Stopping();
  frontEnd.FlushOutput();
  return status;
}

}  // namespace varnek
