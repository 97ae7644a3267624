#include "core/commands/UserActions.h"

#include <optional>
#include <string>
#include <string_view>

#include "core/context/BotVoice.h"
#include "core/context/CommandSender.h"
#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/store/LangTable.h"
#include "core/store/OutputPanes.h"
#include "core/text/Ascii.h"
#include "core/text/Product.h"
#include "core/users/Kick.h"
#include "core/users/KickWatch.h"
#include "core/users/UserList.h"

namespace varnek {
namespace {

struct CopyItem {
  const char* menuItem;
  UserColumn column;
  LangKey label;
};

// The copy submenu in menu order; "All" copies the same fields in this order.
constexpr CopyItem kCopyItems[] = {
    {ctl::kcUsernameUserPopup, UserColumn::Username, LangUsername},
    {ctl::kcShareUserPopup, UserColumn::ShareSize, LangShareSize},
    {ctl::kcExactShareUserPopup, UserColumn::ExactShareSize, LangExactShareSize},
    {ctl::kcDescriptionUserPopup, UserColumn::Description, LangDescription},
    {ctl::kcTagUserPopup, UserColumn::Tag, LangTag},
    {ctl::kcModeUserPopup, UserColumn::Mode, LangMode},
    {ctl::kcConnectionUserPopup, UserColumn::ConnectionType, LangConnectionType},
    {ctl::kcStatusUserPopup, UserColumn::Status, LangStatus},
    {ctl::kcEmailUserPopup, UserColumn::Email, LangEmailAddress},
    {ctl::kcLimitUserPopup, UserColumn::UploadLimit, LangUploadLimit},
    {ctl::kcIpUserPopup, UserColumn::Ip, LangIp},
};

// The items that need a selected user; the refresh item follows the
// connection instead.
constexpr const char* kSelectionItems[] = {
    ctl::kIpUserPopup,   ctl::kKickUserPopup,      ctl::kRedirectUserPopup,     ctl::kPmUserPopup,
    ctl::kCopyUserPopup, ctl::kAddOpChatUserPopup, ctl::kAddToAllowedUserPopup, ctl::kAddToProtectedUserPopup,
};

// Whether a field is worth copying: a share of nothing or a zero upload limit
// is as good as no value. The limit column carries its unit, so "0 KiB/s" is
// the zero limit a client reports.
bool WorthCopying(UserColumn column, std::string_view value) {
  if (value.empty()) {
    return false;
  }
  switch (column) {
    case UserColumn::ShareSize:
    case UserColumn::ExactShareSize:
      return value != "0 B";
    case UserColumn::UploadLimit:
      return value != "0" && value != "0 KiB/s";
    default:
      return true;
  }
}

// A copy item's field name is its menu item's: "cShareUserPopup" is "Share".
std::string_view FieldName(const CopyItem& item) {
  constexpr std::string_view kSuffix = "UserPopup";
  std::string_view name = item.menuItem;
  name.remove_prefix(1);
  name.remove_suffix(kSuffix.size());
  return name;
}

bool HasForbiddenCharacter(std::string_view text, std::string_view forbidden) {
  return text.find_first_of(forbidden) != std::string_view::npos;
}

}  // namespace

UserActions::UserActions(Context context) : context_(context) {}

const UserRecord* UserActions::RecordAt(int row) const {
  const UserList& users = context_.users;
  return row >= 0 && row < users.Count() ? &users.Row(row) : nullptr;
}

void UserActions::OnMenuPopup(int selectedRow) {
  const UserRecord* record = RecordAt(selectedRow);
  if (record == nullptr) {
    DisableWithoutSelection();
  } else {
    EnableForRecord(*record);
  }
}

void UserActions::DisableWithoutSelection() {
  for (const char* item : kSelectionItems) {
    context_.controls.Get(item).SetEnabled(false);
  }
}

void UserActions::EnableForRecord(const UserRecord& record) {
  ControlModel& controls = context_.controls;
  bool anyField = false;
  for (const CopyItem& item : kCopyItems) {
    const std::string_view value = record.Cell(item.column);
    controls.Get(item.menuItem).SetEnabled(WorthCopying(item.column, value));
    anyField = anyField || !value.empty();
  }
  controls.Get(ctl::kcAllUserPopup).SetEnabled(anyField);
  controls.Get(ctl::kCopyUserPopup).SetEnabled(true);
  controls.Get(ctl::kIpUserPopup).SetEnabled(!record.Cell(UserColumn::Ip).empty());
  for (const char* item : {ctl::kKickUserPopup, ctl::kRedirectUserPopup, ctl::kAddOpChatUserPopup,
                           ctl::kAddToAllowedUserPopup, ctl::kAddToProtectedUserPopup}) {
    controls.Get(item).SetEnabled(true);
  }
  controls.Get(ctl::kPmUserPopup).SetEnabled(!controls.Get(ctl::kSendMemo).Text().empty());
}

bool UserActions::Ask(const std::string& title, LangKey prompt, std::string& remembered) {
  std::optional<std::string> answer = context_.dialogs.InputBox(title, context_.lang.Text(prompt), remembered);
  if (!answer) {
    return false;
  }
  remembered = std::move(*answer);
  return true;
}

void UserActions::Kick(int row) {
  const UserRecord* record = RecordAt(row);
  if (record == nullptr) {
    return;
  }
  // Copied: the hub's commands are still handled while the dialog is open
  // and may remove the row.
  const std::string nick = record->Nick();
  if (!Ask(context_.lang.Format(LangKickUserTitle, {nick}), LangReason, lastKickReason_)) {
    return;
  }
  KickWithReason(nick, lastKickReason_);
}

void UserActions::KickWithReason(const std::string& nick, const std::string& reason) {
  context_.panes.ChatLine(context_.lang.Format(LangKicking, {nick}));
  if (context_.users.FindUser(nick) < 0) {
    return;
  }
  if (reason.empty()) {
    SendKickCommand(nick);
    return;
  }
  if (HasForbiddenCharacter(reason, "$|")) {
    WarnForbiddenCharacters(context_.lang, context_.dialogs);
    return;
  }
  SendKickCommands(nick, reason);
}

void UserActions::SendKickCommands(const std::string& nick, const std::string& reason) {
  context_.sender.SendCommand(PrivateReply(context_.controls, nick, context_.lang.Format(LangKickedBecause, {reason})));
  if (context_.controls.Get(ctl::kKickToStatusCheckBox).Checked()) {
    context_.sender.SendCommand(KickMessage(context_.controls, nick, reason));
  }
  SendKickCommand(nick);
}

void UserActions::SendKickCommand(const std::string& nick) {
  context_.kickWatch.Watch(nick);
  context_.sender.SendCommand("$Kick " + nick);
}

void UserActions::Redirect(int row) {
  const UserRecord* record = RecordAt(row);
  if (record == nullptr) {
    return;
  }
  const std::string nick = record->Nick();
  const std::string title = context_.lang.Format(LangRedirectUserTitle, {nick});
  if (!Ask(title, LangRedirectTo, lastRedirectAddress_) || !Ask(title, LangReason, lastRedirectReason_)) {
    return;
  }
  RedirectTo(nick, lastRedirectAddress_, lastRedirectReason_);
}

void UserActions::RedirectTo(const std::string& nick, const std::string& address, const std::string& reason) {
  if (address.empty()) {
    return;
  }
  if (HasForbiddenCharacter(address, " $|")) {
    WarnForbiddenCharacters(context_.lang, context_.dialogs);
    return;
  }
  // A redirect needs both texts; without a reason nothing is sent.
  if (context_.users.FindUser(nick) < 0 || reason.empty()) {
    return;
  }
  if (HasForbiddenCharacter(reason, "$|")) {
    WarnForbiddenCharacters(context_.lang, context_.dialogs);
    return;
  }
  SendRedirectCommands(nick, address, reason);
}

void UserActions::SendRedirectCommands(const std::string& nick, const std::string& address, const std::string& reason) {
  const LangTable& lang = context_.lang;
  context_.sender.SendCommand(
      PrivateReply(context_.controls, nick, lang.Format(LangRedirectedBecause, {address, reason})));
  context_.panes.ChatLine(lang.Format(LangRedirecting, {nick, address}));
  context_.sender.SendCommand("$OpForceMove $Who:" + nick + "$Where:" + address + "$Msg:" + reason);
}

void UserActions::PrivateMessage(int row) {
  const UserRecord* record = RecordAt(row);
  if (record == nullptr) {
    return;
  }
  Control& memo = context_.controls.Get(ctl::kSendMemo);
  // Unescaped and whole, line breaks included: the operator's own words.
  SendPrivateMessage(record->Nick(), memo.Text());
  memo.SetText("");
  context_.window.Focus(ctl::kSendMemo);
}

void UserActions::SendPrivateMessage(const std::string& nick, const std::string& text) {
  context_.panes.ChatLine(context_.lang.Format(LangPrivateMessageTo, {nick, text}));
  context_.sender.SendCommand(PrivateReply(context_.controls, nick, text));
}

void UserActions::RefreshList() {
  // Emptied at once, so the list shows only what the hub sends from now on,
  // even when it never answers.
  context_.users.Clear();
  context_.panes.NiceLine(LangSending, {"$GetNickList"});
  context_.sender.SendCommand("$GetNickList");
}

void UserActions::IpInformation(int row) {
  const UserRecord* record = RecordAt(row);
  if (record != nullptr) {
    context_.shell.OpenUrl(kIpInformationUrl + std::string(record->Cell(UserColumn::Ip)));
  }
}

void UserActions::CopyField(int row, UserColumn column) {
  const UserRecord* record = RecordAt(row);
  if (record != nullptr) {
    context_.shell.SetClipboardText(std::string(record->Cell(column)));
  }
}

void UserActions::CopyAll(int row) {
  if (auto text = CopiedText(row, {})) {
    context_.shell.SetClipboardText(*text);
  }
}

std::optional<std::string> UserActions::CopiedText(int row, std::string_view field) const {
  const UserRecord* record = RecordAt(row);
  if (record == nullptr) {
    return std::nullopt;
  }
  if (!field.empty()) {
    for (const CopyItem& item : kCopyItems) {
      if (AsciiEqualsIgnoreCase(FieldName(item), field)) {
        return std::string(record->Cell(item.column));
      }
    }
    return std::nullopt;
  }
  std::string text;
  const char* separator = "";
  for (const CopyItem& item : kCopyItems) {
    text += separator + context_.lang.Plain(item.label) + ": ";
    text += record->Cell(item.column);
    separator = "\r\n";
  }
  return text;
}

std::vector<std::string> UserActions::CopyFieldNames() {
  std::vector<std::string> names;
  for (const CopyItem& item : kCopyItems) {
    names.emplace_back(FieldName(item));
  }
  return names;
}

std::string UserActions::IpLookupAddress(int row) const {
  const UserRecord* record = RecordAt(row);
  if (record == nullptr || record->Cell(UserColumn::Ip).empty()) {
    return {};
  }
  return kIpInformationUrl + std::string(record->Cell(UserColumn::Ip));
}

void UserActions::SetAsOpChat(int row) {
  const UserRecord* record = RecordAt(row);
  if (record != nullptr) {
    context_.controls.Get(ctl::kOpChatEdit).SetText(record->Nick());
  }
}

void UserActions::MoveToAllowed(int row) {
  AppendToList(row, ctl::kAllowedListView);
}

void UserActions::MoveToProtected(int row) {
  AppendToList(row, ctl::kProtectedListView);
}

void UserActions::AppendToList(int row, std::string_view listViewName) {
  // The nick goes in unchanged and without a duplicate check; a "*" in it
  // makes the row act as a pattern.
  const UserRecord* record = RecordAt(row);
  if (record != nullptr) {
    context_.controls.List(listViewName).Append(record->Nick());
  }
}

}  // namespace varnek
