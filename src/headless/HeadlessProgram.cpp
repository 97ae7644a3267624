#include "headless/HeadlessProgram.h"

#include <QCoreApplication>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <filesystem>

#include "core/Bot.h"
#include "core/BotActions.h"
#include "headless/HeadlessFrontEnd.h"
#include "qt/ProcessSignals.h"
#include "qt/ProgramArguments.h"
#include "qt/QtServices.h"

namespace varnek {
namespace {

constexpr const char* kUsage =
    "usage: varnek-headless [--dir DIR]\n"
    "  --dir DIR   the program directory (Varnek.ini, translations/, logs/);\n"
    "              by default the directory of this executable\n";

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
  const ProgramArguments arguments =
      ReadProgramArguments(QCoreApplication::arguments(), QCoreApplication::applicationDirPath());
  if (const auto status = AnswerWithoutRunning(arguments, kUsage)) {
    return *status;
  }
  const std::filesystem::path& directory = arguments.directory;
  std::signal(SIGPIPE, SIG_IGN);
  if (!ProcessSignals::Install()) {
    std::perror("varnek: signals");
    return 1;
  }

  QtServices services;
  HeadlessFrontEnd frontEnd(services.codec);
  Bot core(WithClock(services.PortsWith(frontEnd, frontEnd, frontEnd), time.clock), directory);
  BotActions bot(core);
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
