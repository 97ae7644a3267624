#include "headless/HeadlessConsole.h"

#include <QString>
#include <string_view>

#include "core/BotActions.h"
#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/users/UserList.h"
#include "headless/HeadlessFrontEnd.h"

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

const char* const kLocalHelp[] = {
    ":kick NICK [REASON]               kick a user, with a private message and reason when one is given",
    ":redirect NICK ADDRESS REASON     move a user to another hub",
    ":pm NICK TEXT                     send a private message",
    ":users                            the number of users in the list",
    ":user NICK                        everything the list knows about a user",
    ":help                             this list",
};

class LocalCommands {
 public:
  LocalCommands(BotActions& bot, HeadlessFrontEnd& out) : bot_(bot), out_(out) {}

  void Run(std::string_view line) {
    auto [command, rest] = FirstWord(line.substr(1));
    if (command == "kick") {
      WithUser(rest, [&](const std::string& nick, const std::string& reason) { bot_.KickWithReason(nick, reason); });
    } else if (command == "redirect") {
      WithUser(rest, [&](const std::string& nick, const std::string& arguments) {
        auto [address, reason] = FirstWord(arguments);
        bot_.RedirectTo(nick, address, reason);
      });
    } else if (command == "pm") {
      WithUser(rest, [&](const std::string& nick, const std::string& text) { bot_.SendPrivateMessage(nick, text); });
    } else if (command == "users") {
      out_.Tell(QStringLiteral("users: %1").arg(bot_.Users().Count()));
    } else if (command == "user") {
      WithUser(rest, [&](const std::string& nick, const std::string&) {
        const int row = bot_.Users().FindUser(nick);
        out_.Tell(Show(bot_.UserInformation(row)));
      });
    } else if (command == "help") {
      for (const char* help : kLocalHelp) {
        out_.Tell(QString::fromLatin1(help));
      }
    } else {
      out_.Tell(QStringLiteral("unknown command \":%1\"; type \":help\"").arg(Show(command)));
    }
  }

 private:
  template <typename Action>
  void WithUser(const std::string& arguments, Action action) {
    // Plain names rather than a structured binding: the lambda below captures
    // them, which clang before version 16 refuses for a binding.
    const auto words = FirstWord(arguments);
    const std::string& nick = words.first;
    const std::string& rest = words.second;
    if (nick.empty()) {
      out_.Tell(QStringLiteral("a nick is needed; type \":help\""));
      return;
    }
    if (bot_.Users().FindUser(nick) < 0) {
      out_.Tell(QStringLiteral("no user \"%1\" in the user list").arg(Show(nick)));
      return;
    }
    bot_.Run([&] { action(nick, rest); });
  }

  QString Show(const std::string& bytes) const { return out_.ToUnicode(bytes); }

  BotActions& bot_;
  HeadlessFrontEnd& out_;
};

}  // namespace

void RunConsoleLine(BotActions& bot, HeadlessFrontEnd& frontEnd, const std::string& line) {
  if (!line.empty() && line.front() == kLocalCommandPrefix) {
    LocalCommands(bot, frontEnd).Run(line);
    return;
  }
  Control& memo = bot.Controls().Get(ctl::kSendMemo);
  if (!memo.Enabled()) {
    frontEnd.Tell(QStringLiteral("not connected: the line was not sent"));
    return;
  }
  bot.Run([&] {
    memo.SetText(line);
    bot.SendButtonClick();
  });
}

}  // namespace varnek
