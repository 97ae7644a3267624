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
  kickWatch_.SetOverdueHandler([this](std::string_view nick) {
    NoticeKickGroup(stillThereNotices_, nick, LangNoticeKickNotCarriedOut, LangNoticeKicksNotCarriedOut);
  });
}

bool Bot::Notice(NoticeKind kind, const std::string& title, const std::string& text) {
  return noticeListener_ != nullptr && controls_.Get(SwitchOf(kind)).Checked() &&
         noticeListener_->OnNotice(kind, title, text);
}

void Bot::NoticeIfKicked(bool kicked, std::string_view nick) {
  if (kicked) {
    NoticeKickGroup(kickedNotices_, nick, LangNoticeKicked, LangNoticeUsersKicked);
  }
}

void Bot::NoticeKickGroup(NoticeGroup& group, std::string_view nick, LangKey one, LangKey many) {
  if (noticeListener_ == nullptr || !controls_.Get(SwitchOf(NoticeKind::Kick)).Checked()) {
    return;
  }
  group.Add(nick, ports_.clock.TickCount());
  std::string text;
  if (group.Count() == 1) {
    text = lang_.Format(one, {nick});
  } else {
    std::string names;
    for (const std::string& name : group.Names()) {
      names += (names.empty() ? "" : ", ") + name;
    }
    if (group.Count() > group.Names().size()) {
      names += ", ...";
    }
    text = lang_.Format(many, {std::to_string(group.Count()), names});
  }
  if (!Notice(NoticeKind::Kick, kProductName, text)) {
    group.Forget();
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
