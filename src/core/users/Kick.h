#pragma once

#include <string>
#include <string_view>

namespace varnek {

class CommandSender;
class ControlModel;

// Fills a kick template in one pass from left to right: "<nick>", "<mynick>"
// and the detection's own placeholder (none for the proxy), byte-exact and
// case-sensitive. What is put in is never scanned again, so a nick, tag or
// pattern that holds "<mynick>" or another placeholder is sent as it is: a
// user named "<mynick>" must not make the bot kick itself.
std::string ExpandTemplate(std::string_view text, std::string_view nick, std::string_view myNick,
                           std::string_view placeholder, std::string_view value);

// The reason of the kick message: what follows the first occurrence of the
// nick in the command and the byte after it; with the default templates the
// text behind "!kick nick ".
std::string KickReason(std::string_view command, std::string_view nick);

// The kick message of the main chat: "<mynick> is kicking nick because: reason".
std::string KickMessage(const ControlModel& controls, std::string_view nick, std::string_view reason);

// Sends an expanded kick: raw templates unchanged through the send path,
// plain ones as a main chat line of the bot, then, when the kick message is
// switched on, "<mynick> is kicking nick because: reason".
void SendKick(const ControlModel& controls, CommandSender& sender, std::string_view command, std::string_view nick,
              bool raw);

}  // namespace varnek
