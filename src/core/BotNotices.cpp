// Notices for the desktop: what happened while the operator was away from
// the window, each kind behind its own switch.

#include "core/Bot.h"
#include "core/hub/HubAddress.h"
#include "core/model/ControlNames.h"
#include "core/text/Product.h"

namespace varnek {
namespace {

const char* SwitchOf(NoticeKind kind) {
  switch (kind) {
    case NoticeKind::PrivateMessage:
      return ctl::kNotifyPrivateCheckBox;
    case NoticeKind::Kick:
      return ctl::kNotifyKickCheckBox;
    case NoticeKind::ConnectionLost:
      return ctl::kNotifyDisconnectCheckBox;
  }
  return ctl::kNotifyPrivateCheckBox;
}

}  // namespace

void Bot::SetNoticeListener(NoticeListener* listener) {
  noticeListener_ = listener;
  lifecycle_.SetConnectionLostHandler([this] {
    const std::string address = ShowHostAndPort(connection_.Host(), connection_.Port());
    Notice(NoticeKind::ConnectionLost, kProductName, lang_.Format(LangNoticeConnectionLost, {address}));
  });
}

void Bot::Notice(NoticeKind kind, const std::string& title, const std::string& text) {
  if (noticeListener_ != nullptr && controls_.Get(SwitchOf(kind)).Checked()) {
    noticeListener_->OnNotice(kind, title, text);
  }
}

void Bot::NoticeIfKicked(bool kicked, std::string_view nick) {
  if (kicked) {
    Notice(NoticeKind::Kick, kProductName, lang_.Format(LangNoticeKicked, {nick}));
  }
}

// The message without the "<sender> " that the sender's client puts before
// it: the title names the sender already.
void Bot::NoticePrivateMessage(std::string_view sender, std::string_view message) {
  std::string text = UnescapeChatText(message);
  const std::string prefix = "<" + std::string(sender) + "> ";
  if (text.starts_with(prefix)) {
    text.erase(0, prefix.size());
  }
  Notice(NoticeKind::PrivateMessage, lang_.Format(LangNoticePrivateMessage, {sender}), text);
}

}  // namespace varnek
