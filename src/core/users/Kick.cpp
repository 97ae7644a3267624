#include "core/users/Kick.h"

#include "core/BotContext.h"
#include "core/text/Strings.h"
#include "core/ui/ControlModel.h"

namespace varnek {

std::string ExpandTemplate(std::string_view text, std::string_view nick, std::string_view myNick,
                           std::string_view placeholder, std::string_view value) {
  std::string command = ReplaceAll(text, "<nick>", nick);
  command = ReplaceAll(command, "<mynick>", myNick);
  if (!placeholder.empty()) {
    command = ReplaceAll(command, placeholder, value);
  }
  return command;
}

std::string KickReason(std::string_view command, std::string_view nick) {
  const std::size_t found = command.find(nick);
  const std::size_t start = found == std::string_view::npos ? nick.size() : found + 1 + nick.size();
  return start >= command.size() ? std::string() : std::string(command.substr(start));
}

std::string KickMessage(const BotContext& context, std::string_view nick, std::string_view reason) {
  std::string message = "<" + context.MyNick() + "> is kicking ";
  message.append(nick);
  message += " because: ";
  message.append(reason);
  return message;
}

void SendKick(const BotContext& context, std::string_view command, std::string_view nick, bool raw) {
  if (raw) {
    context.SendCommand(command);
    return;
  }
  context.SendCommand(context.ChatLineOfBot(command));
  if (context.controls.Get("KickToStatusCheckBox").Checked()) {
    context.SendCommand(KickMessage(context, nick, KickReason(command, nick)));
  }
}

}  // namespace varnek
