#include "core/commands/BotCommands.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/commands/BotCommandTable.h"
#include "core/commands/Chat.h"
#include "core/commands/PatternTrialText.h"
#include "core/context/BotVoice.h"
#include "core/context/CommandSender.h"
#include "core/model/ControlModel.h"
#include "core/store/FileAccess.h"
#include "core/store/KickLog.h"
#include "core/store/LangTable.h"
#include "core/store/OutputPanes.h"
#include "core/store/SettingsFile.h"
#include "core/text/Integer.h"
#include "core/text/Strings.h"
#include "core/users/Detections.h"
#include "core/users/Pattern.h"
#include "core/users/PatternTrial.h"
#include "core/users/UserList.h"

namespace varnek {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// How many pattern rows "hits" shows.
constexpr std::size_t kHitsShown = 20;

// Text that is not a number reads as 19860505, and that result is taken for
// "not a number"; so the number 19860505 itself is refused too. Deliberate:
// the bot has always answered that number with the wrong-parameter reply.
constexpr std::int32_t kNotANumber = 19860505;

// The labels of the "info" answer, in the order of the user list's columns.
constexpr std::array<std::pair<LangKey, UserColumn>, kUserColumnCount> kUserInformation = {{
    {LangUsername, UserColumn::Username},
    {LangShareSize, UserColumn::ShareSize},
    {LangExactShareSize, UserColumn::ExactShareSize},
    {LangDescription, UserColumn::Description},
    {LangTag, UserColumn::Tag},
    {LangMode, UserColumn::Mode},
    {LangConnectionType, UserColumn::ConnectionType},
    {LangStatus, UserColumn::Status},
    {LangEmailAddress, UserColumn::Email},
    {LangUploadLimit, UserColumn::UploadLimit},
    {LangIp, UserColumn::Ip},
}};

// Everything after the first space, untouched; with no space, the whole text.
std::string_view ArgumentOf(std::string_view text) {
  const std::size_t space = text.find(' ');
  return space == std::string_view::npos ? text : text.substr(space + 1);
}

bool HoldsForbiddenCharacter(std::string_view argument, bool spacesRefused) {
  return argument.find_first_of(spacesRefused ? "$| " : "$|") != std::string_view::npos;
}

}  // namespace

const BotCommand* BotCommands::Match(std::string_view text) const {
  const std::string trigger = Trigger();
  // A prefix test in table order: the first keyword that begins the text wins,
  // whatever follows it.
  for (const BotCommand& command : BotCommandTable()) {
    if (text.starts_with(trigger + std::string(command.keyword))) {
      return &command;
    }
  }
  return nullptr;
}

std::string_view BotCommands::KeywordOf(std::string_view text) const {
  const BotCommand* command = Match(text);
  return command == nullptr ? std::string_view() : command->keyword;
}

void BotCommands::Execute(std::string_view sender, std::string_view text) {
  if (const BotCommand* command = Match(text)) {
    Run(*command, sender, text, text == Trigger() + std::string(command->keyword));
  }
}

bool BotCommands::ExecuteLocally(std::string_view text, const std::function<void(std::string_view)>& reply) {
  const BotCommand* command = Match(text);
  if (command == nullptr) {
    return false;
  }
  // Reset however the command ends: a failed save throws.
  struct Restore {
    const std::function<void(std::string_view)>*& slot;
    ~Restore() { slot = nullptr; }
  } restore{localReply_};
  localReply_ = &reply;
  Run(*command, MyNick(context_.controls), text, text == Trigger() + std::string(command->keyword));
  return true;
}

void BotCommands::Run(const BotCommand& command, std::string_view sender, std::string_view text, bool nameAlone) {
  const std::string_view argument = ArgumentOf(text);
  // Without a space the argument is the whole text, so the command name
  // alone must not pass for a pattern or a nick.
  const bool hasArgument = !argument.empty() && !nameAlone;
  // One case per kind, without a default: the compiler names a new kind
  // that has no handler here.
  switch (command.kind) {
    case BotCommandKind::Help:
      Reply(sender, BuildHelpText());
      return;
    case BotCommandKind::Save:
      RunSave(sender);
      return;
    case BotCommandKind::Switch:
      RunSwitch(command, sender, argument);
      return;
    case BotCommandKind::Value:
      RunValue(command, sender, argument);
      return;
    case BotCommandKind::List:
      RunList(command, sender);
      return;
    case BotCommandKind::Hits:
      RunHits(sender);
      return;
    case BotCommandKind::Add:
      hasArgument ? RunAdd(command, sender, argument) : SendWrongParameters(sender);
      return;
    case BotCommandKind::Delete:
      hasArgument ? RunDelete(command, sender, argument) : SendWrongParameters(sender);
      return;
    case BotCommandKind::Info:
      hasArgument ? RunInfo(sender, argument) : SendWrongParameters(sender);
      return;
    case BotCommandKind::Test:
      hasArgument ? RunTest(sender, argument) : SendWrongParameters(sender);
      return;
    case BotCommandKind::Why:
      hasArgument ? RunWhy(sender, argument) : SendWrongParameters(sender);
      return;
  }
}

void BotCommands::RunSwitch(const BotCommand& command, std::string_view sender, std::string_view argument) {
  if (argument != "1" && argument != "0") {
    SendWrongParameters(sender);
    return;
  }
  // Through the check box, so that its change reaction runs as for a click.
  context_.controls.Get(command.target).SetChecked(argument == "1");
  ReplyAndLog(sender, context_.lang.Format(command.message, {argument}));
}

void BotCommands::RunValue(const BotCommand& command, std::string_view sender, std::string_view argument) {
  const std::int32_t number = ReadInt32(argument).value_or(kNotANumber);
  if (number == kNotANumber) {
    SendWrongParameters(sender);
    return;
  }
  Control& spinEdit = context_.controls.Get(command.target);
  spinEdit.SetValue(number);  // brings it into the control's range
  ReplyAndLog(sender, context_.lang.Format(command.message, {std::to_string(spinEdit.Value())}));
}

void BotCommands::RunList(const BotCommand& command, std::string_view sender) {
  std::string text = context_.lang.Text(command.message);
  text += kLineEnd;
  for (const std::string& row : context_.controls.List(command.target).Rows()) {
    text += kLineEnd;
    text += '\t';
    text += row;
  }
  text += kLineEnd;
  Reply(sender, text);
}

void BotCommands::RunAdd(const BotCommand& command, std::string_view sender, std::string_view argument) {
  if (HoldsForbiddenCharacter(argument, command.spacesRefused)) {
    Reply(sender, context_.lang.Text(LangForbiddenCharacters));
    return;
  }
  // Duplicates are appended again, as the settings pages allow them too.
  context_.controls.List(command.target).Append(std::string(argument));
  ReplyAndLog(sender, context_.lang.Format(command.message, {argument}));
}

void BotCommands::RunDelete(const BotCommand& command, std::string_view sender, std::string_view argument) {
  // Compared as text, not matched as a pattern: "*" deletes the row "*" only.
  StringListModel& list = context_.controls.List(command.target);
  const int row = list.IndexOf(argument);
  if (row < 0) {
    Reply(sender, context_.lang.Format(LangNotFound, {argument}));
    return;
  }
  list.RemoveAt(row);
  ReplyAndLog(sender, context_.lang.Format(command.message, {argument}));
}

void BotCommands::RunInfo(std::string_view sender, std::string_view argument) {
  const int row = context_.users.FindUser(argument);
  if (row < 0) {
    Reply(sender, context_.lang.Format(LangNotFound, {argument}));
    return;
  }
  Reply(sender, UserInformationText(row));
}

void BotCommands::RunSave(std::string_view sender) {
  // The save notes itself in the status pane; a failure leaves without a reply.
  const bool saved = context_.settings.Save();
  Reply(sender, context_.lang.Text(saved ? LangSavedSettings : LangSettingsSavedAside));
}

void BotCommands::RunHits(std::string_view sender) {
  const std::vector<Detections::PatternHits> rows = context_.detections.MostHitPatterns(kHitsShown);
  if (rows.empty()) {
    Reply(sender, context_.lang.Text(LangNoPatternHits));
    return;
  }
  std::string text = context_.lang.Text(LangPatternHits);
  text += kLineEnd;
  for (const Detections::PatternHits& row : rows) {
    text += kLineEnd;
    text += '\t';
    text += row.list;
    text += ": ";
    text += row.pattern;
    text += ": ";
    text += std::to_string(row.hits);
  }
  text += kLineEnd;
  Reply(sender, text);
}

void BotCommands::RunTest(std::string_view sender, std::string_view argument) {
  // "LIST PATTERN": the pattern is everything after the list's name, blanks
  // included, as the add commands of the lists that allow them take it.
  const std::size_t space = argument.find(' ');
  const std::optional<UserColumn> column =
      space == std::string_view::npos ? std::nullopt : ColumnOfPatternList(argument.substr(0, space));
  const std::string_view pattern = space == std::string_view::npos ? std::string_view{} : argument.substr(space + 1);
  if (!column || pattern.empty()) {
    SendWrongParameters(sender);
    return;
  }
  Reply(sender, PatternTrialAnswer(context_.lang, context_.users, *column, pattern));
}

void BotCommands::RunWhy(std::string_view sender, std::string_view nick) {
  std::optional<std::string> line;
  try {
    line = context_.kickLog.LastLineOf(nick);
  } catch (const FileAccessError& error) {
    // The status pane keeps the whole path; a reply that leaves the machine
    // names the log only by its place among the program's folders.
    context_.panes.StatusLog(context_.lang.Format(LangKickLogError, {error.what()}));
    const std::string failure = localReply_ != nullptr ? std::string(error.what()) : error.Naming(KickLog::kShownName);
    Reply(sender, context_.lang.Format(LangKickLogError, {failure}));
    return;
  }
  if (!line) {
    Reply(sender, context_.lang.Format(LangNoKickRecorded, {nick}));
    return;
  }
  // The line holds the raw command that was sent and the $MyINFO that was
  // received; the reply frame escapes their "$" and "|".
  Reply(sender, *line);
}

std::string BotCommands::Trigger() const {
  return CurrentTrigger(context_.controls, context_.codePages);
}

void BotCommands::SendWrongParameters(std::string_view sender) {
  Reply(sender, context_.lang.Format(LangWrongParameters, {Trigger() + "help"}));
}

std::string BotCommands::UserInformationText(int row) const {
  const UserRecord& user = context_.users.Row(row);
  // The labels are the user list's column titles, captions of the window too.
  std::string text = context_.lang.Plain(LangUserInfo);
  text += kLineEnd;
  text += kLineEnd;
  for (const auto& [label, column] : kUserInformation) {
    text += '\t';
    text += context_.lang.Plain(label);
    text += ": ";
    text += user.Cell(column);
    text += kLineEnd;
  }
  return text;
}

std::string BotCommands::BuildHelpText() const {
  const std::string trigger = Trigger();
  std::string text = context_.lang.Text(LangAvailableBotCommands);
  text += kLineEnd;
  text += kLineEnd;
  for (std::string_view keyword : BotCommandHelpOrder()) {
    text += HelpLine(*FindBotCommand(keyword), trigger);
  }
  return text;
}

std::string BotCommands::HelpLine(const BotCommand& command, const std::string& trigger) const {
  const BotCommandHelp& help = command.help;
  std::string line = "\t" + trigger;
  line += command.keyword;
  line += help.argumentShown;
  line.append(static_cast<std::size_t>(help.tabs), '\t');
  line += "- ";
  line += context_.lang.Text(help.description);
  if (command.kind == BotCommandKind::Switch) {
    const bool on = context_.controls.Get(command.target).Checked();
    line += ' ';
    line += context_.lang.Format(LangCurrentStatus, {on ? "1" : "0"});
  } else if (command.kind == BotCommandKind::Value) {
    line += ' ';
    line += context_.lang.Format(LangCurrentValue, {std::to_string(context_.controls.Get(command.target).Value())});
  }
  line += kLineEnd;
  return line;
}

void BotCommands::Reply(std::string_view sender, std::string_view text) {
  if (localReply_ != nullptr) {
    (*localReply_)(text);
    return;
  }
  context_.sender.SendCommand(PrivateReply(context_.controls, sender, text));
}

void BotCommands::ReplyAndLog(std::string_view sender, const std::string& text) {
  Reply(sender, text);
  context_.panes.StatusLog(text);
}

}  // namespace varnek
