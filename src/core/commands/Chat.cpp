#include "core/commands/Chat.h"

#include "core/context/BotVoice.h"
#include "core/context/CommandSender.h"
#include "core/hub/Uptime.h"
#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/store/LangTable.h"
#include "core/store/OutputPanes.h"
#include "core/text/Product.h"
#include "core/text/Strings.h"
#include "core/users/Pattern.h"

namespace varnek {

std::string UnescapeChatText(std::string_view text) {
  std::string result = ReplaceAll(text, "&#36;", "$");
  result = ReplaceAll(result, "&#124;", "|");
  return ReplaceAll(result, "\n", "\r\n");
}

bool RecentRecipients::Take(std::string_view nick, std::uint32_t now) {
  ForgetExpired(now);
  const auto [entry, added] = sentAt_.try_emplace(std::string(nick), now);
  if (!added) {
    if (Elapsed(now, entry->second) < intervalMs_) {
      return false;
    }
    entry->second = now;  // left behind by a clock that went back
  }
  sendingOrder_.emplace_back(entry->first, now);
  return true;
}

void RecentRecipients::ForgetExpired(std::uint32_t now) {
  while (!sendingOrder_.empty() && Elapsed(now, sendingOrder_.front().second) >= intervalMs_) {
    const auto& [nick, sentAt] = sendingOrder_.front();
    // A nick taken again has a newer entry further back; only the newest
    // one forgets it.
    if (const auto entry = sentAt_.find(nick); entry != sentAt_.end() && entry->second == sentAt) {
      sentAt_.erase(entry);
    }
    sendingOrder_.pop_front();
  }
}

void Chat::HandleChatLine(std::string_view line) {
  context_.panes.ChatLine(UnescapeChatText(line));
}

bool Chat::MayCommand(std::string_view sender) const {
  const ControlModel& controls = context_.controls;
  // Both tests are made, the operator test first.
  const bool operatorMay = controls.Get(ctl::kCmdOpsCheckBox).Checked() && context_.operators.IndexOf(sender) >= 0;
  const bool allowedMay = controls.Get(ctl::kAllowedCheckBox).Checked() &&
                          FirstMatchingPattern(context_.controls.List(ctl::kAllowedListView).Rows(), sender) != nullptr;
  return operatorMay || allowedMay;
}

void Chat::HandlePrivateMessage(std::string_view /*recipient*/, std::string_view sender, std::string_view message) {
  const bool mayCommand = MayCommand(sender);
  const std::string text = UnescapeChatText(message);
  context_.panes.ChatLine(context_.lang.Format(LangPrivateMessageFrom, {sender, text}));
  if (mayCommand) {
    // The words start one byte after the ">" that closes the sender's nick.
    const std::size_t close = text.find('>');
    const std::size_t start = close == std::string::npos ? 1 : close + 2;
    runCommand_(sender, start < text.size() ? std::string_view(text).substr(start) : std::string_view());
    return;
  }
  const ControlModel& controls = context_.controls;
  if (controls.Get(ctl::kMessageCheckBox).Checked() && sender != controls.Get(ctl::kOpChatEdit).Text() &&
      botMessageRecipients_.Take(sender, context_.clock.TickCount())) {
    context_.panes.NiceLine(LangSendingBotMessage, {sender});
    context_.sender.SendCommand(BotMessage(sender));
  }
}

std::string Chat::BotMessage(std::string_view sender) const {
  return PrivateReply(context_.controls, sender,
                      context_.controls.Get(ctl::kBotMessageMemo).Text() + " < " + kProductName + " " +
                          kProductVersion + " : " + kWebsite + " >");
}

}  // namespace varnek
