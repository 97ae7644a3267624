#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "core/model/Ports.h"

namespace varnek {

class CommandSender;
class ControlModel;
class LangTable;
class OutputPanes;
class StringListModel;

// "&#36;" to "$", then "&#124;" to "|", then every LF to CR LF (so a CR LF
// already there becomes CR CR LF, as it always has).
std::string UnescapeChatText(std::string_view text);

// Who got the bot message lately. Another bot that answers every private
// message would otherwise trade answers with this one for ever, until the hub
// bans one of them for flooding. Each nick is remembered for one interval of
// the tick count (wrap-safe) and forgotten after it, so the table holds only
// the senders of the last interval.
class RecentRecipients {
 public:
  explicit RecentRecipients(std::uint32_t intervalMs) : intervalMs_(intervalMs) {}

  // True, and the nick remembered from `now` on, when it got nothing within
  // the interval before `now`.
  bool Take(std::string_view nick, std::uint32_t now);
  std::size_t Size() const { return sentAt_.size(); }

 private:
  void ForgetExpired(std::uint32_t now);

  std::uint32_t intervalMs_;
  std::unordered_map<std::string, std::uint32_t> sentAt_;
  std::deque<std::pair<std::string, std::uint32_t>> sendingOrder_;  // oldest first
};

// Main chat lines and private messages from the hub. Bot commands are taken
// only from private messages of senders who may give them; everybody else
// gets the bot message, at most once a minute.
class Chat {
 public:
  // What this part reads and changes; the bot owns all of it.
  struct Context {
    Clock& clock;
    ControlModel& controls;
    LangTable& lang;
    StringListModel& operators;
    OutputPanes& panes;
    CommandSender& sender;
  };

  using CommandRunner = std::function<void(std::string_view sender, std::string_view text)>;

  Chat(Context context, CommandRunner runCommand) : context_(context), runCommand_(std::move(runCommand)) {}

  void HandleChatLine(std::string_view line);
  void HandlePrivateMessage(std::string_view recipient, std::string_view sender, std::string_view message);
  bool MayCommand(std::string_view sender) const;
  // The automatic answer to a private message: the bot message and the
  // product's name, version and web site.
  std::string BotMessage(std::string_view sender) const;

 private:
  static constexpr std::uint32_t kBotMessageIntervalMs = 60000;

  Context context_;
  CommandRunner runCommand_;
  RecentRecipients botMessageRecipients_{kBotMessageIntervalMs};
};

}  // namespace varnek
