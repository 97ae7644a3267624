// varnek-headless: the bot without a window.
//
//   varnek-headless [--dir DIR]
//
// DIR is the program directory (Varnek.ini, translations/, logs/); by
// default the directory of the executable.

#include <QCoreApplication>
#include <QDir>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <filesystem>

#include "core/Bot.h"
#include "core/text/Product.h"
#include "headless/HeadlessFrontEnd.h"
#include "qt/ProcessSignals.h"
#include "qt/QtServices.h"

namespace {

void PrintUsage() {
  std::fprintf(stderr,
               "usage: varnek-headless [--dir DIR]\n"
               "  --dir DIR   the program directory (Varnek.ini, translations/, logs/);\n"
               "              by default the directory of this executable\n");
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  std::filesystem::path directory = QCoreApplication::applicationDirPath().toStdString();
  const QStringList arguments = QCoreApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == QLatin1String("--dir") && i + 1 < arguments.size()) {
      directory = QDir(arguments[++i]).absolutePath().toStdString();
    } else if (arguments[i] == QLatin1String("--version")) {
      std::printf("%s %s\n", varnek::kProductName, varnek::kProductVersion);
      return 0;
    } else {
      PrintUsage();
      return arguments[i] == QLatin1String("--help") ? 0 : 2;
    }
  }
  if (!std::filesystem::is_directory(directory)) {
    std::fprintf(stderr, "varnek: no such directory: %s\n", directory.c_str());
    return 2;
  }
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
