#pragma once

#include <filesystem>
#include <string>

#include "core/model/Ports.h"

namespace varnek {

class CommandSender;
class ControlModel;
class HubConnection;
class LangTable;
class OutputPanes;
class ProtocolCounters;
class SettingsFile;
class StringListModel;
class UserList;
struct HubSession;
struct TickStamps;

// The program's shared state and the outside world, as every part of the bot
// sees them. The bot owns all of it; parts hold this by reference.
struct BotContext {
  ControlModel& controls;
  LangTable& lang;
  OutputPanes& panes;
  ProtocolCounters& counters;
  UserList& users;
  StringListModel& operators;
  HubSession& session;
  TickStamps& ticks;
  SettingsFile& settings;
  HubConnection& connection;
  // The same connection's send path, for the parts below the hub.
  CommandSender& sender;
  Ports ports;
  std::filesystem::path programDirectory;

  // The bot's own nick, the text of UsernameEdit.
  const std::string& MyNick() const;
  // The bot command trigger chosen in TriggerComboBox, in the hub's code
  // page: what commands are compared with and what help texts show.
  std::string CurrentTrigger() const;
  // The private message frame of every answer to one user.
  std::string PrivateReply(std::string_view nick, std::string_view text) const;
  // A main chat line of the bot: "<mynick> " and the text.
  std::string ChatLineOfBot(std::string_view text) const;
  bool SendCommand(std::string_view text) const;
  // The warning of a refused value; the message is written with the protocol
  // escapes, the dialog shows "$" and "|" themselves.
  void WarnForbiddenCharacters() const;
};

}  // namespace varnek
