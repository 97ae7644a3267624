// The local operator's commands: what the headless console asks of the bot,
// each answered with the reply to show or the reason it did nothing.
#include <exception>

#include "core/Bot.h"
#include "core/BotActions.h"
#include "core/commands/SettingsByKey.h"
#include "core/hub/HubAddress.h"
#include "core/model/ControlNames.h"

namespace varnek {
namespace {

std::string HubOf(const HubConnection& connection) {
  return ShowHostAndPort(connection.Host(), connection.Port());
}

}  // namespace

LocalReply BotActions::ConnectToHub() {
  if (bot_.Connection().Connected()) {
    return LocalReply::Refused("already connected to " + HubOf(bot_.Connection()));
  }
  if (bot_.Connection().SocketOpen()) {
    return LocalReply::Refused("already connecting to " + HubOf(bot_.Connection()));
  }
  if (!bot_.Life().Connect()) {
    return LocalReply::Refused({});  // the warning has said why
  }
  return LocalReply::Done("connecting to " + HubOf(bot_.Connection()));
}

LocalReply BotActions::DisconnectFromHub() {
  if (bot_.Connection().Connected()) {
    bot_.Life().ConnectAction();  // the Connect button's disconnect: final
    return LocalReply::Done("disconnected from " + HubOf(bot_.Connection()));
  }
  const bool attempt = bot_.Connection().SocketOpen();
  const bool waiting = bot_.Session().reconnectPending;
  if (!attempt && !waiting) {
    return LocalReply::Refused("not connected");
  }
  if (attempt) {
    bot_.Connection().CloseSocket();
  }
  // The close has just set it; the operator's own disconnect is final.
  bot_.Session().reconnectPending = false;
  return LocalReply::Done(attempt ? "stopped connecting to " + HubOf(bot_.Connection()) : "reconnect cancelled");
}

LocalReply BotActions::ReconnectToHub() {
  if (!bot_.Connection().Connected()) {
    return ConnectToHub();
  }
  bot_.Life().ReconnectAction();
  return LocalReply::Done("reconnecting to " + HubOf(bot_.Connection()));
}

LocalReply BotActions::SaveSettingsAndTell() {
  bool saved = false;
  try {
    saved = bot_.Settings().Save();
  } catch (const std::exception& error) {
    return LocalReply::Refused(error.what());
  }
  if (!saved) {
    return LocalReply::Done("saved " + bot_.Settings().UnsavedPath().string() + ", as " +
                            bot_.Settings().Path().string() + " was changed on disk");
  }
  return LocalReply::Done("saved " + bot_.Settings().Path().string());
}

LocalReply BotActions::ReloadSettingsAndTell() {
  ReloadSettings();
  if (!bot_.Settings().ReadFailure().empty()) {
    return LocalReply::Refused({});  // the warning has said why
  }
  return LocalReply::Done("read " + bot_.Settings().Path().string());
}

LocalReply BotActions::GetSetting(std::string_view key) {
  return SettingsByKey(bot_.Controls(), bot_.Panes()).Get(key);
}

LocalReply BotActions::ListSettings() {
  return SettingsByKey(bot_.Controls(), bot_.Panes()).List();
}

LocalReply BotActions::SetSetting(std::string_view key, std::string_view value) {
  return SettingsByKey(bot_.Controls(), bot_.Panes()).Set(key, value);
}

std::vector<std::string> BotActions::SettingKeys() const {
  return SettingsByKey::Keys();
}

LocalReply BotActions::RunBotCommandLocally(std::string_view text) {
  std::string replies;
  bool named = false;
  try {
    named = bot_.Commands().ExecuteLocally(text, [&replies](std::string_view reply) {
      if (!replies.empty()) {
        replies += "\r\n";
      }
      replies.append(reply);
    });
  } catch (const std::exception& error) {
    // A failed save: told here, where the remote command goes to the
    // last-resort question.
    return LocalReply::Refused(error.what());
  }
  if (!named) {
    const std::string trigger = bot_.Commands().Trigger();
    return LocalReply::Refused("no bot command \"" + std::string(text) + "\"; bot commands begin with the trigger " +
                               trigger + " (\":bot " + trigger + "help\" lists them)");
  }
  return LocalReply::Done(replies);
}

LocalReply BotActions::WithUser(std::string_view nick, const std::function<LocalReply(int row)>& action) const {
  if (nick.empty()) {
    return LocalReply::Refused("a nick is needed");
  }
  const int row = bot_.Users().FindUser(nick);
  if (row < 0) {
    return LocalReply::Refused("no user \"" + std::string(nick) + "\" in the user list");
  }
  return action(row);
}

LocalReply BotActions::IpLookupAddress(std::string_view nick) const {
  return WithUser(nick, [&](int row) {
    std::string address = bot_.Actions().IpLookupAddress(row);
    if (address.empty()) {
      return LocalReply::Refused("the hub has sent no IP of " + std::string(nick));
    }
    return LocalReply::Done(std::move(address));
  });
}

LocalReply BotActions::CopyUserText(std::string_view nick, std::string_view field) const {
  return WithUser(nick, [&](int row) {
    std::optional<std::string> text = bot_.Actions().CopiedText(row, field);
    if (!text) {
      std::string names;
      for (const std::string& name : UserActions::CopyFieldNames()) {
        names += (names.empty() ? "" : ", ") + name;
      }
      return LocalReply::Refused("unknown field \"" + std::string(field) + "\"; the fields are " + names);
    }
    if (text->empty()) {
      return LocalReply::Refused(std::string(nick) + " has no " + std::string(field));
    }
    return LocalReply::Done(std::move(*text));
  });
}

LocalReply BotActions::RefreshUserListAndTell() {
  // The window offers the refresh only while connected.
  if (!bot_.Connection().Connected()) {
    return LocalReply::Refused("not connected");
  }
  bot_.Actions().RefreshList();
  return LocalReply::Done("user list emptied; asked the hub for it again");
}

LocalReply BotActions::TakeAsOpChat(std::string_view nick) {
  return WithUser(nick, [&](int row) {
    bot_.Actions().SetAsOpChat(row);
    return LocalReply::Done("OpChat=" + bot_.Controls().Get(ctl::kOpChatEdit).Text());
  });
}

LocalReply BotActions::AllowUser(std::string_view nick) {
  return WithUser(nick, [&](int row) {
    bot_.Actions().MoveToAllowed(row);
    return LocalReply::Done("added " + std::string(nick) + " to the allowed users");
  });
}

LocalReply BotActions::ProtectUser(std::string_view nick) {
  return WithUser(nick, [&](int row) {
    bot_.Actions().MoveToProtected(row);
    return LocalReply::Done("added " + std::string(nick) + " to the protected users");
  });
}

LocalReply BotActions::TrustRefusedCertificate() {
  const auto accepted = bot_.Certificates().AcceptRefused();
  if (!accepted) {
    return LocalReply::Refused("no hub certificate has been refused");
  }
  return LocalReply::Done("trusted the new certificate of " + accepted->hub + ": " + accepted->fingerprint);
}

std::vector<std::string> BotActions::MissingConnectionSettings() const {
  std::vector<std::string> missing;
  for (const char* control : {ctl::kHubIpEdit, ctl::kUsernameEdit}) {
    if (bot_.Controls().Get(control).Text().empty()) {
      missing.push_back(bot_.Controls().Get(control).IniKey());
    }
  }
  return missing;
}

std::string_view BotActions::BotCommandKeyword(std::string_view text) const {
  return bot_.Commands().KeywordOf(text);
}

const std::filesystem::path& BotActions::SettingsFilePath() const {
  return bot_.Settings().Path();
}

const std::string& BotActions::SettingsReadFailure() const {
  return bot_.Settings().ReadFailure();
}

}  // namespace varnek
