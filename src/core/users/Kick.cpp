#include "core/users/Kick.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "core/context/BotVoice.h"
#include "core/context/CommandSender.h"
#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"

namespace varnek {

std::string ExpandTemplate(std::string_view text, std::string_view nick, std::string_view myNick,
                           std::string_view placeholder, std::string_view value) {
  // Every placeholder ends at its only ">", so none is the beginning of
  // another and the first one that starts at a "<" is the one.
  const std::pair<std::string_view, std::string_view> fills[] = {
      {"<nick>", nick}, {"<mynick>", myNick}, {placeholder, value}};
  std::string command;
  std::size_t copied = 0;
  for (std::size_t open = text.find('<'); open != std::string_view::npos; open = text.find('<', open)) {
    const auto fill = std::find_if(std::begin(fills), std::end(fills), [&](const auto& candidate) {
      return !candidate.first.empty() && text.substr(open).starts_with(candidate.first);
    });
    if (fill == std::end(fills)) {
      ++open;
      continue;
    }
    command.append(text.substr(copied, open - copied));
    command.append(fill->second);
    open += fill->first.size();
    copied = open;
  }
  command.append(text.substr(copied));
  return command;
}

std::string KickReason(std::string_view command, std::string_view nick) {
  const std::size_t found = command.find(nick);
  const std::size_t start = found == std::string_view::npos ? nick.size() : found + 1 + nick.size();
  return start >= command.size() ? std::string() : std::string(command.substr(start));
}

std::string KickMessage(const ControlModel& controls, std::string_view nick, std::string_view reason) {
  std::string message = "<" + MyNick(controls) + "> is kicking ";
  message.append(nick);
  message += " because: ";
  message.append(reason);
  return message;
}

void SendKick(const ControlModel& controls, CommandSender& sender, std::string_view command, std::string_view nick,
              bool raw) {
  if (raw) {
    sender.SendCommand(command);
    return;
  }
  sender.SendCommand(ChatLineOfBot(controls, command));
  if (controls.Get(ctl::kKickToStatusCheckBox).Checked()) {
    sender.SendCommand(KickMessage(controls, nick, KickReason(command, nick)));
  }
}

}  // namespace varnek
