// varnek: the bot with its window.
//
//   varnek [--dir DIR]
//
// DIR is the program directory (Varnek.ini, translations/, images/, logs/);
// by default the directory of the executable.

#include <QApplication>
#include <QSessionManager>
#include <QTimer>
#include <cstdio>
#include <filesystem>

#include "core/Bot.h"
#include "core/BotActions.h"
#include "core/text/Product.h"
#include "gui/MainWindow.h"
#include "gui/QtDialogs.h"
#include "gui/WindowRelay.h"
#include "qt/ProcessSignals.h"
#include "qt/ProgramArguments.h"
#include "qt/QtServices.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(varnek::kProductName));
  QApplication::setQuitOnLastWindowClosed(false);  // the tray may keep it running
  const varnek::ProgramArguments arguments =
      varnek::ReadProgramArguments(QCoreApplication::arguments(), QCoreApplication::applicationDirPath());
  if (const auto status = varnek::AnswerWithoutRunning(arguments, "usage: varnek [--dir DIR]\n")) {
    return *status;
  }
  const std::filesystem::path& directory = arguments.directory;

  if (!varnek::ProcessSignals::Install()) {
    std::perror("varnek: signals");
    return 1;
  }

  varnek::QtServices services;
  varnek::QtDialogs dialogs(services.codec);
  varnek::WindowRelay relay;
  varnek::Bot core(services.PortsWith(dialogs, dialogs, relay), directory);
  varnek::BotActions bot(core);
  services.FollowEncoding(bot);

  varnek::MainWindow window(bot, services.codec, directory);
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
