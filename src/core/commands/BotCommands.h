#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/model/Ports.h"

namespace varnek {

struct BotCommand;
class CommandSender;
class ControlModel;
class Detections;
class KickLog;
class LangTable;
class OutputPanes;
class SettingsFile;
class UserList;

// The bot command interpreter: operators and allowed users switch detections,
// set limits, edit the pattern and user lists, save the settings and look up
// users by private message. Each command changes the setting the way the
// settings pages would and answers the sender privately; changes are also
// noted in the status pane so that the local operator sees them.
class BotCommands {
 public:
  // What this part reads and changes; the bot owns all of it.
  struct Context {
    CodePages& codePages;
    ControlModel& controls;
    const Detections& detections;
    const KickLog& kickLog;
    LangTable& lang;
    OutputPanes& panes;
    CommandSender& sender;
    SettingsFile& settings;
    UserList& users;
  };

  explicit BotCommands(Context context) : context_(context) {}

  // Runs the command that the words of a private message name. Words that
  // name no command are ignored without a reply.
  void Execute(std::string_view sender, std::string_view text);
  // Runs a command of the local operator, who may give every command: each
  // reply goes to `reply` instead of a private message. Returns whether the
  // text named a command.
  bool ExecuteLocally(std::string_view text, const std::function<void(std::string_view)>& reply);
  // The keyword of the command the text names, or empty.
  std::string_view KeywordOf(std::string_view text) const;
  // The trigger that commands begin with, in the hub's code page.
  std::string Trigger() const;
  // The list of commands with the current state of every switch and value.
  std::string BuildHelpText() const;
  void SendWrongParameters(std::string_view sender);
  // The answer to "info" for one row of the user list.
  std::string UserInformationText(int row) const;

 private:
  // The command the text names, by the prefix test in table order; or none.
  const BotCommand* Match(std::string_view text) const;
  void Run(const BotCommand& command, std::string_view sender, std::string_view text, bool nameAlone);
  void RunSwitch(const BotCommand& command, std::string_view sender, std::string_view argument);
  void RunValue(const BotCommand& command, std::string_view sender, std::string_view argument);
  void RunList(const BotCommand& command, std::string_view sender);
  void RunAdd(const BotCommand& command, std::string_view sender, std::string_view argument);
  void RunDelete(const BotCommand& command, std::string_view sender, std::string_view argument);
  void RunInfo(std::string_view sender, std::string_view argument);
  void RunSave(std::string_view sender);
  void RunHits(std::string_view sender);
  void RunTest(std::string_view sender, std::string_view argument);
  void RunWhy(std::string_view sender, std::string_view nick);

  std::string HelpLine(const BotCommand& command, const std::string& trigger) const;
  void Reply(std::string_view sender, std::string_view text);
  // A change made remotely: the reply and the same text in the status pane.
  void ReplyAndLog(std::string_view sender, const std::string& text);

  Context context_;
  // Where replies go while the local operator's command runs; null otherwise.
  const std::function<void(std::string_view)>* localReply_ = nullptr;
};

}  // namespace varnek
