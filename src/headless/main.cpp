// varnek-headless: the bot without a window.
//
//   varnek-headless [--dir DIR]
//
// DIR is the program directory (Varnek.ini, translations/, logs/); by
// default the directory of the executable.

#include <QCoreApplication>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <filesystem>

#include "core/Bot.h"
#include "headless/HeadlessFrontEnd.h"
#include "qt/ProcessSignals.h"
#include "qt/ProgramArguments.h"
#include "qt/QtServices.h"

namespace {

constexpr const char* kUsage =
    "usage: varnek-headless [--dir DIR]\n"
    "  --dir DIR   the program directory (Varnek.ini, translations/, logs/);\n"
    "              by default the directory of this executable\n";

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  const varnek::ProgramArguments arguments =
      varnek::ReadProgramArguments(QCoreApplication::arguments(), QCoreApplication::applicationDirPath());
  if (const auto status = varnek::AnswerWithoutRunning(arguments, kUsage)) {
    return *status;
  }
  const std::filesystem::path& directory = arguments.directory;
  std::signal(SIGPIPE, SIG_IGN);
  if (!varnek::ProcessSignals::Install()) {
    std::perror("varnek: signals");
    return 1;
  }

  varnek::QtServices services;
  varnek::HeadlessFrontEnd frontEnd(services.codec);
  varnek::Bot bot(services.PortsWith(frontEnd, frontEnd, frontEnd), directory);
  services.FollowEncoding(bot);
  frontEnd.Attach(bot);

  varnek::ProcessSignals signalActions(bot);

  QTimer timer;
  timer.setInterval(1000);
  QObject::connect(&timer, &QTimer::timeout, [&] { bot.TimerTick(); });
  timer.start();

  bot.Start();
  const int status = application.exec();
  frontEnd.FlushOutput();
  return status;
}
