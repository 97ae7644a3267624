// varnek: the bot with its window.
//
//   varnek [--dir DIR] [--check-settings] [--help] [--version]
//
// With DIR every file is kept there (Varnek.ini, translations/, images/,
// logs/); see ProgramPlaces for the places without it.

#include <QApplication>
#include <QSessionManager>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "core/Bot.h"
#include "core/BotActions.h"
#include "core/text/Product.h"
#include "gui/MainWindow.h"
#include "gui/QtDialogs.h"
#include "gui/WindowRelay.h"
#include "qt/ProcessSignals.h"
#include "qt/ProgramArguments.h"
#include "qt/ProgramStart.h"
#include "qt/QtServices.h"

namespace {

constexpr varnek::ProgramDescription kDescription{
    "Varnek, the Direct Connect hub bot, with its window.",
    "Files: with --dir DIR everything is kept in DIR. Otherwise an installed\n"
    "program keeps Varnek.ini in $XDG_CONFIG_HOME/varnek/ (~/.config/varnek/) and\n"
    "its logs in $XDG_STATE_HOME/varnek/logs/ (~/.local/state/varnek/logs/); a\n"
    "copy in a writable directory of its own keeps everything beside itself.\n"
    "\n"
    "The Qt options (-platform NAME, -style NAME, ...) work as in every Qt program.\n"};

}  // namespace

namespace varnek {

// Without a display Qt would abort with its own message (and a core dump's
// status, 134); a server wants the other program. A platform named on the
// command line or in QT_QPA_PLATFORM ("offscreen") is Qt's to judge.
std::optional<int> RefuseWithoutDisplay(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
      return std::nullopt;
    }
  }
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] != '\0') {
      return std::nullopt;
    }
  }
  std::fprintf(stderr,
               "varnek: no display (DISPLAY and WAYLAND_DISPLAY are not set); "
               "on a server, run the bot without a window: varnek-headless\n");
  return 1;
}

}  // namespace varnek

int main(int argc, char* argv[]) {
  // --help and --version are answered before the application object, which
  // needs a display, is made.
  const varnek::ProgramArguments early = varnek::ReadProgramArguments(varnek::ArgumentsOf(argc, argv), kDescription);
  if (early.action == varnek::ProgramArguments::Action::ShowUsage ||
      early.action == varnek::ProgramArguments::Action::ShowVersion) {
    return *varnek::AnswerWithoutRunning(early);
  }
  if (early.action == varnek::ProgramArguments::Action::CheckSettings) {
    // Reading the settings needs no display either.
    QCoreApplication checking(argc, argv);
    return varnek::ProgramStart(early).CheckSettings();
  }
  if (const auto status = varnek::RefuseWithoutDisplay(argc, argv)) {
    return *status;
  }
  QApplication application(argc, argv);
  // Read again without the Qt options, which the application object took.
  const varnek::ProgramArguments arguments = varnek::ReadProgramArguments(QCoreApplication::arguments(), kDescription);
  if (const auto status = varnek::AnswerWithoutRunning(arguments)) {
    return *status;
  }
  varnek::ProgramStart start(arguments);
  if (const auto status = start.Prepare()) {
    return *status;
  }
  // Named only now: the lock records the application's name, which must be
  // the executable's for QLockFile to tell its live holder from a process
  // that got a dead holder's id.
  QApplication::setApplicationName(QString::fromLatin1(varnek::kProductName));
  QApplication::setQuitOnLastWindowClosed(false);  // the tray may keep it running

  if (!varnek::ProcessSignals::Install()) {
    std::perror("varnek: signals");
    return 1;
  }

  varnek::QtServices services;
  varnek::QtDialogs dialogs(services.codec);
  varnek::WindowRelay relay;
  varnek::Bot core(services.PortsWith(dialogs, dialogs, relay), start.Paths());
  varnek::BotActions bot(core);
  services.FollowEncoding(bot);

  varnek::MainWindow window(bot, services.codec, start.Paths().data);
  relay.Set(&window);
  dialogs.SetOwner(&window);
  bot.Start();
  window.BindAll();

  QTimer timer;
  timer.setInterval(1000);
  QObject::connect(&timer, &QTimer::timeout, [&] { bot.TimerTick(); });
  timer.start();
  bot.TimerTick();

  // SIGTERM and the end of the desktop session run the close sequence, as
  // they do in the headless program: the settings and logs are saved and the
  // program exits with 0. The close sequence runs only once, so a quit that
  // it started itself passes through.
  varnek::ProcessSignals signalActions(bot);
  const auto closeNow = [&bot] { bot.Run([&bot] { bot.CloseNow(); }); };
  QObject::connect(&application, &QGuiApplication::commitDataRequest, &application,
                   [closeNow](QSessionManager&) { closeNow(); });
  QObject::connect(&application, &QCoreApplication::aboutToQuit, &application, closeNow);

  window.show();
  return application.exec();
}
