// The local operator's commands: what the headless console asks of the bot.
#include <exception>

#include "core/Bot.h"
#include "core/commands/SettingsByKey.h"
#include "core/context/BotVoice.h"
#include "core/hub/HubAddress.h"
#include "core/model/ControlNames.h"

namespace varnek {
namespace {

std::string HubOf(const HubConnection& connection) {
  return ShowHostAndPort(connection.Host(), connection.Port());
}

}  // namespace

LocalReply Bot::ConnectToHub() {
  if (connection_.Connected()) {
    return LocalReply::Refused("already connected to " + HubOf(connection_));
  }
  if (connection_.SocketOpen()) {
    return LocalReply::Refused("already connecting to " + HubOf(connection_));
  }
  if (!lifecycle_.Connect()) {
    return LocalReply::Refused({});  // the warning has said why
  }
  return LocalReply::Done("connecting to " + HubOf(connection_));
}

LocalReply Bot::DisconnectFromHub() {
  if (connection_.Connected()) {
    lifecycle_.ConnectAction();  // the Connect button's disconnect: final
    return LocalReply::Done("disconnected from " + HubOf(connection_));
  }
  const bool attempt = connection_.SocketOpen();
  const bool waiting = session_.reconnectPending;
  if (!attempt && !waiting) {
    return LocalReply::Refused("not connected");
  }
  if (attempt) {
    connection_.CloseSocket();
  }
  // The close has just set it; the operator's own disconnect is final.
  session_.reconnectPending = false;
  return LocalReply::Done(attempt ? "stopped connecting to " + HubOf(connection_) : "reconnect cancelled");
}

LocalReply Bot::ReconnectToHub() {
  if (!connection_.Connected()) {
    return ConnectToHub();
  }
  lifecycle_.ReconnectAction();
  return LocalReply::Done("reconnecting to " + HubOf(connection_));
}

LocalReply Bot::SaveSettings() {
  try {
    settings_.Save();
  } catch (const std::exception& error) {
    return LocalReply::Refused(error.what());
  }
  return LocalReply::Done("saved " + settings_.Path().string());
}

LocalReply Bot::ReloadSettings() {
  settings_.Load();
  if (!settings_.ReadFailure().empty()) {
    return LocalReply::Refused({});  // the warning has said why
  }
  return LocalReply::Done("read " + settings_.Path().string());
}

LocalReply Bot::GetSetting(std::string_view key) {
  return SettingsByKey(controls_, panes_).Get(key);
}

LocalReply Bot::SetSetting(std::string_view key, std::string_view value) {
  return SettingsByKey(controls_, panes_).Set(key, value);
}

std::vector<std::string> Bot::SettingKeys() const {
  return SettingsByKey::Keys();
}

LocalReply Bot::RunBotCommandLocally(std::string_view text) {
  std::string replies;
  bool named = false;
  try {
    named = botCommands_.ExecuteLocally(text, [&replies](std::string_view reply) {
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
    const std::string trigger = CurrentTrigger(controls_, ports_.codePages);
    return LocalReply::Refused("no bot command \"" + std::string(text) + "\"; bot commands begin with the trigger " +
                               trigger + " (\":bot " + trigger + "help\" lists them)");
  }
  return LocalReply::Done(replies);
}

LocalReply Bot::WithUser(std::string_view nick, const std::function<LocalReply(int row)>& action) const {
  if (nick.empty()) {
    return LocalReply::Refused("a nick is needed");
  }
  const int row = users_.FindUser(nick);
  if (row < 0) {
    return LocalReply::Refused("no user \"" + std::string(nick) + "\" in the user list");
  }
  return action(row);
}

LocalReply Bot::IpLookupAddress(std::string_view nick) const {
  return WithUser(nick, [&](int row) {
    std::string address = userActions_.IpLookupAddress(row);
    if (address.empty()) {
      return LocalReply::Refused("the hub has sent no IP of " + std::string(nick));
    }
    return LocalReply::Done(std::move(address));
  });
}

LocalReply Bot::CopyUserText(std::string_view nick, std::string_view field) const {
  return WithUser(nick, [&](int row) {
    std::optional<std::string> text = userActions_.CopiedText(row, field);
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

LocalReply Bot::RefreshUserList() {
  // The window offers the refresh only while connected.
  if (!connection_.Connected()) {
    return LocalReply::Refused("not connected");
  }
  userActions_.RefreshList();
  return LocalReply::Done("user list emptied; asked the hub for it again");
}

LocalReply Bot::TakeAsOpChat(std::string_view nick) {
  return WithUser(nick, [&](int row) {
    userActions_.SetAsOpChat(row);
    return LocalReply::Done("OpChat=" + controls_.Get(ctl::kOpChatEdit).Text());
  });
}

LocalReply Bot::AllowUser(std::string_view nick) {
  return WithUser(nick, [&](int row) {
    userActions_.MoveToAllowed(row);
    return LocalReply::Done("added " + std::string(nick) + " to the allowed users");
  });
}

LocalReply Bot::ProtectUser(std::string_view nick) {
  return WithUser(nick, [&](int row) {
    userActions_.MoveToProtected(row);
    return LocalReply::Done("added " + std::string(nick) + " to the protected users");
  });
}

std::vector<std::string> Bot::MissingConnectionSettings() const {
  std::vector<std::string> missing;
  for (const char* control : {ctl::kHubIpEdit, ctl::kUsernameEdit}) {
    if (controls_.Get(control).Text().empty()) {
      missing.push_back(controls_.Get(control).IniKey());
    }
  }
  return missing;
}

}  // namespace varnek
