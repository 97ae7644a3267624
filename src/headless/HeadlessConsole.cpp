#include "headless/HeadlessConsole.h"

#include <QString>
#include <algorithm>
#include <string_view>
#include <vector>

#include "core/BotActions.h"
#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/users/UserList.h"
#include "headless/ConsoleOutput.h"

namespace varnek {
namespace {

// Splits off the first word: the text before the first blank, and the rest
// after it (blanks after the word are skipped).
std::pair<std::string, std::string> FirstWord(std::string_view text) {
  const std::size_t blank = text.find(' ');
  if (blank == std::string_view::npos) {
    return {std::string(text), {}};
  }
  std::string_view rest = text.substr(blank + 1);
  while (!rest.empty() && rest.front() == ' ') {
    rest.remove_prefix(1);
  }
  return {std::string(text.substr(0, blank)), std::string(rest)};
}

std::size_t WordCount(std::string_view text) {
  std::size_t count = 0;
  bool inWord = false;
  for (const char c : text) {
    if (c != ' ' && !inWord) {
      ++count;
    }
    inWord = c != ' ';
  }
  return count;
}

// The words a command's usage names that are not optional: each optional one
// stands in brackets ("[REASON]").
std::size_t NeededWords(std::string_view usage) {
  return WordCount(usage) - static_cast<std::size_t>(std::count(usage.begin(), usage.end(), '['));
}

class LocalCommands;
using Handler = void (LocalCommands::*)(const std::string& arguments);

struct LocalCommand {
  const char* name;
  // The arguments: each word in brackets may be left out, the others not.
  const char* usage;
  const char* help;
  Handler run;
};

class LocalCommands {
 public:
  LocalCommands(BotActions& bot, ConsoleOutput& out) : bot_(bot), out_(out) {}

  void Run(std::string_view line);

  void Connect(const std::string&) {
    Answer([&] { return bot_.ConnectToHub(); });
  }
  void Disconnect(const std::string&) {
    Answer([&] { return bot_.DisconnectFromHub(); });
  }
  void Reconnect(const std::string&) {
    Answer([&] { return bot_.ReconnectToHub(); });
  }
  void Quit(const std::string&) {
    out_.Reply("quitting");
    bot_.Run([&] { bot_.CloseNow(); });
  }
  void Save(const std::string&) {
    Answer([&] { return bot_.SaveSettingsAndTell(); });
  }
  void Reload(const std::string&) {
    Answer([&] { return bot_.ReloadSettingsAndTell(); });
  }
  void Set(const std::string& arguments) {
    // Plain names rather than a structured binding: the lambda below captures
    // them, which clang before version 16 refuses for a binding.
    const auto words = FirstWord(arguments);
    const std::string& key = words.first;
    const std::string& value = words.second;
    Answer([&] { return bot_.SetSetting(key, value); });
  }
  void Get(const std::string& arguments) {
    // A key holds no blank; one typed after it (or left by completion) is none of it.
    const std::string_view key = std::string_view(arguments).substr(0, arguments.find_last_not_of(' ') + 1);
    if (!key.empty()) {
      Answer([&] { return bot_.GetSetting(key); });
      return;
    }
    Answer([&] { return bot_.ListSettings(); });
  }
  void BotCommand(const std::string& arguments) {
    Answer([&] { return bot_.RunBotCommandLocally(arguments); });
  }
  void Kick(const std::string& arguments) {
    WithUser(arguments, [&](const std::string& nick, const std::string& reason) { bot_.KickWithReason(nick, reason); });
  }
  void Redirect(const std::string& arguments) {
    WithUser(arguments, [&](const std::string& nick, const std::string& rest) {
      auto [address, reason] = FirstWord(rest);
      bot_.RedirectTo(nick, address, reason);
    });
  }
  void PrivateMessage(const std::string& arguments) {
    WithUser(arguments, [&](const std::string& nick, const std::string& text) { bot_.SendPrivateMessage(nick, text); });
  }
  void Users(const std::string&) { out_.Tell(QStringLiteral("users: %1").arg(bot_.Users().Count())); }
  void User(const std::string& arguments) {
    WithUser(arguments, [&](const std::string& nick, const std::string&) {
      const int row = bot_.Users().FindUser(nick);
      out_.Tell(out_.ToUnicode(bot_.UserInformation(row)));
    });
  }
  void Ip(const std::string& arguments) {
    Answer([&] { return bot_.IpLookupAddress(FirstWord(arguments).first); });
  }
  void Copy(const std::string& arguments) {
    const auto words = FirstWord(arguments);
    Answer([&] { return bot_.CopyUserText(words.first, words.second); });
  }
  void Refresh(const std::string&) {
    Answer([&] { return bot_.RefreshUserListAndTell(); });
  }
  void OpChat(const std::string& arguments) {
    Answer([&] { return bot_.TakeAsOpChat(FirstWord(arguments).first); });
  }
  void Allow(const std::string& arguments) {
    Answer([&] { return bot_.AllowUser(FirstWord(arguments).first); });
  }
  void Protect(const std::string& arguments) {
    Answer([&] { return bot_.ProtectUser(FirstWord(arguments).first); });
  }
  void Trust(const std::string&) {
    Answer([&] { return bot_.TrustRefusedCertificate(); });
  }
  void Help(const std::string&);

 private:
  // Runs the command behind the error boundary and shows its answer: the
  // reply on standard output, a refusal on standard error.
  template <typename Command>
  void Answer(Command command) {
    LocalReply reply;
    bot_.Run([&] { reply = command(); });
    if (reply.text.empty()) {
      return;
    }
    if (reply.done) {
      out_.Reply(reply.text);
    } else {
      out_.Tell(out_.ToUnicode(reply.text));
    }
  }

  template <typename Action>
  void WithUser(const std::string& arguments, Action action) {
    // Plain names rather than a structured binding: the lambda below captures
    // them, which clang before version 16 refuses for a binding.
    const auto words = FirstWord(arguments);
    const std::string& nick = words.first;
    const std::string& rest = words.second;
    if (bot_.Users().FindUser(nick) < 0) {
      out_.Tell(QStringLiteral("no user \"%1\" in the user list").arg(out_.ToUnicode(nick)));
      return;
    }
    bot_.Run([&] { action(nick, rest); });
  }

  BotActions& bot_;
  ConsoleOutput& out_;
};

constexpr LocalCommand kCommands[] = {
    {"connect", "", "connect to the hub (Dns, Port)", &LocalCommands::Connect},
    {"disconnect", "", "leave the hub and do not reconnect", &LocalCommands::Disconnect},
    {"reconnect", "", "connect to the hub again", &LocalCommands::Reconnect},
    {"quit", "", "disconnect, save the settings and end the program", &LocalCommands::Quit},
    {"save", "", "save the settings to Varnek.ini", &LocalCommands::Save},
    {"reload", "", "read Varnek.ini again, replacing the settings held", &LocalCommands::Reload},
    {"set", "KEY [VALUE]", "change a setting of [Settings] (\":set Dns hub.example.org:411\")", &LocalCommands::Set},
    {"get", "[KEY]", "show a setting, or all of them", &LocalCommands::Get},
    {"bot", "TEXT", "run a bot command as the local operator (\":bot %detects 1\")", &LocalCommands::BotCommand},
    {"kick", "NICK [REASON]", "kick, with a private message and reason when one is given", &LocalCommands::Kick},
    {"redirect", "NICK ADDRESS REASON", "move a user to another hub", &LocalCommands::Redirect},
    {"pm", "NICK TEXT", "send a private message", &LocalCommands::PrivateMessage},
    {"users", "", "the number of users in the list", &LocalCommands::Users},
    {"user", "NICK", "everything the list knows about a user", &LocalCommands::User},
    {"ip", "NICK", "the address that looks up a user's IP", &LocalCommands::Ip},
    {"copy", "NICK [FIELD]", "a user's field (Username, Share, Tag, Ip, ...) or all of them", &LocalCommands::Copy},
    {"refresh", "", "empty the user list and ask the hub for it again", &LocalCommands::Refresh},
    {"opchat", "NICK", "take the nick as the operators chat (OpChat)", &LocalCommands::OpChat},
    {"allow", "NICK", "add the nick to the allowed users", &LocalCommands::Allow},
    {"protect", "NICK", "add the nick to the protected users", &LocalCommands::Protect},
    {"trust", "", "trust the hub certificate refused last as changed, and connect", &LocalCommands::Trust},
    {"help", "", "this list", &LocalCommands::Help},
};

void LocalCommands::Run(std::string_view line) {
  auto [name, arguments] = FirstWord(line.substr(1));
  for (const LocalCommand& command : kCommands) {
    if (name != command.name) {
      continue;
    }
    if (WordCount(arguments) < NeededWords(command.usage)) {
      out_.Tell(QStringLiteral("usage: :%1 %2").arg(QLatin1String(command.name), QLatin1String(command.usage)));
      return;
    }
    (this->*command.run)(arguments);
    return;
  }
  out_.Tell(QStringLiteral("unknown command \":%1\"; type \":help\"").arg(out_.ToUnicode(name)));
}

void LocalCommands::Help(const std::string&) {
  for (const LocalCommand& command : kCommands) {
    const QString call = QStringLiteral(":%1 %2").arg(QLatin1String(command.name), QLatin1String(command.usage));
    out_.Tell(call.leftJustified(34) + QLatin1String(command.help));
  }
  out_.Tell(QStringLiteral("::TEXT                            say \":TEXT\" in main chat"));
  out_.Tell(QStringLiteral("Any other line goes to main chat as the bot, as the window's command line sends it;"));
  out_.Tell(QStringLiteral("so \"%detects 1\" is said in main chat: bot commands are given with \":bot\"."));
}

}  // namespace

std::vector<std::string> LocalCommandNames() {
  std::vector<std::string> names;
  for (const LocalCommand& command : kCommands) {
    names.emplace_back(command.name);
  }
  return names;
}

void RunConsoleLine(BotActions& bot, ConsoleOutput& out, const std::string& line) {
  // "::" says a line that begins with ":".
  const bool escaped = line.starts_with("::");
  if (!escaped && line.starts_with(kLocalCommandPrefix)) {
    LocalCommands(bot, out).Run(line);
    return;
  }
  const std::string text = escaped ? line.substr(1) : line;
  Control& memo = bot.Controls().Get(ctl::kSendMemo);
  if (!memo.Enabled()) {
    out.Tell(QStringLiteral("not connected: the line was not sent"));
    return;
  }
  bool said = false;
  bot.Run([&] {
    memo.SetText(text);
    said = bot.SendButtonClick();
  });
  // The console's own help is shown here; any other bot command was said.
  const std::string_view keyword = bot.BotCommandKeyword(text);
  const QString botCommandHint =
      !keyword.empty() && keyword != "help"
          ? QStringLiteral("a bot command is given with \":bot %1\"").arg(out.ToUnicode(text))
          : QString();
  // A person at a terminal sees no chat pane of their own line until the
  // hub echoes it, if it does; a script reading a pipe gets no extra line.
  if (out.AtTerminal() && said) {
    out.Tell(QStringLiteral("said in main chat: ") + out.ToUnicode(text) +
             (botCommandHint.isEmpty() ? QString() : QStringLiteral("; ") + botCommandHint));
  } else if (!botCommandHint.isEmpty()) {
    out.Tell(QStringLiteral("said in main chat; ") + botCommandHint);
  }
}

}  // namespace varnek
