#include "headless/HeadlessConsole.h"

#include "core/Bot.h"
#include "headless/HeadlessFrontEnd.h"

namespace varnek {

void RunConsoleLine(Bot& bot, HeadlessFrontEnd& frontEnd, const std::string& line) {
  if (!bot.Controls().Get("SendMemo").Enabled()) {
    frontEnd.Tell(QStringLiteral("not connected: the line was not sent"));
    return;
  }
  bot.Run([&] {
    if (!line.empty()) {
      bot.Context().SendCommand(bot.Context().ChatLineOfBot(line));
    }
  });
}

}  // namespace varnek
