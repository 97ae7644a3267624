#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace varnek {

struct BotContext;

// "&#36;" to "$", then "&#124;" to "|", then every LF to CR LF (so a CR LF
// already there becomes CR CR LF, as it always has).
std::string UnescapeChatText(std::string_view text);

// Main chat lines and private messages from the hub. Bot commands are taken
// only from private messages of senders who may give them; everybody else
// gets the bot message.
class Chat {
 public:
  using CommandRunner = std::function<void(std::string_view sender, std::string_view text)>;

  Chat(BotContext& context, CommandRunner runCommand) : context_(context), runCommand_(std::move(runCommand)) {}

  void HandleChatLine(std::string_view line);
  void HandlePrivateMessage(std::string_view recipient, std::string_view sender, std::string_view message);
  bool MayCommand(std::string_view sender) const;
  // The automatic answer to a private message: the bot message and the
  // product's name, version and web site.
  std::string BotMessage(std::string_view sender) const;

 private:
  BotContext& context_;
  CommandRunner runCommand_;
};

}  // namespace varnek
