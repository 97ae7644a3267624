#include "headless/HeadlessProgram.h"

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

namespace varnek {
namespace {

void PrintUsage() {
  std::fprintf(stderr,
               "usage: varnek-headless [--dir DIR]\n"
               "  --dir DIR   the program directory (Varnek.ini, translations/, logs/);\n"
               "              by default the directory of this executable\n");
}

Ports WithClock(const Ports& ports, Clock* clock) {
  if (clock == nullptr) {
    return ports;
  }
  return Ports{ports.transport, *clock,     ports.dialogs, ports.shell,
               ports.window,    ports.http, ports.media,   ports.codePages};
}

}  // namespace

int RunHeadlessProgram(int argc, char* argv[], const HeadlessTime& time) {
  QCoreApplication application(argc, argv);
  std::filesystem::path directory = QCoreApplication::applicationDirPath().toStdString();
  const QStringList arguments = QCoreApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == QLatin1String("--dir") && i + 1 < arguments.size()) {
      directory = QDir(arguments[++i]).absolutePath().toStdString();
    } else if (arguments[i] == QLatin1String("--version")) {
      std::printf("%s %s\n", kProductName, kProductVersion);
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
  if (!ProcessSignals::Install()) {
    std::perror("varnek: signals");
    return 1;
  }

  QtServices services;
  HeadlessFrontEnd frontEnd(services.codec);
  Bot bot(WithClock(services.PortsWith(frontEnd, frontEnd, frontEnd), time.clock), directory);
  services.FollowEncoding(bot);
  frontEnd.Attach(bot);

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
  const int status = application.exec();
  frontEnd.FlushOutput();
  return status;
}

}  // namespace varnek
