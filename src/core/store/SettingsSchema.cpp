#include "core/store/SettingsSchema.h"

#include <stdexcept>

#include "core/ui/ControlModel.h"
#include "core/users/KickTemplates.h"

namespace varnek {
namespace {

using T = SettingEntry::Type;

// The stored controls in the order their keys are written. Each control's
// key, default and range are in its own row of the control table.
std::vector<std::string> FileOrder() {
  std::vector<std::string> order = {
      "MainFormHeight", "MainFormWidth", "LangFileEdit", "UsernameEdit", "PasswordEdit", "DescriptionEdit",
      "EmailAddressEdit", "ModeComboBox", "OpChatEdit", "BotMessageMemo", "MessageCheckBox", "AutosaveSpinEdit",
      "AutosaveCheckBox", "TimestampsCheckBox", "TimestampsDateCheckBox", "DetectionsCheckBox",
      "KickToStatusCheckBox", "ChatColorDialog", "ChatFontColorDialog", "AlphaBlendCheckBox", "AlphaBlendTrackBar",
      "UpdatesNotifyCheckBox", "TryInfoSpinEdit", "TryInfoCheckBox", "KickFakeCheckBox", "KickProxyCheckBox",
      "KickLimitCheckBox", "KickLimitBelowCheckBox", "KickLimitBelowSpinEdit", "KickCloneCheckBox",
      "KickNickCheckBox", "KickIpCheckBox", "KickDescriptionCheckBox", "KickEmailCheckBox", "KickTagCheckBox",
      "KickShareCheckBox", "KickUserHubsCheckBox", "UserHubsSpinEdit", "KickRegHubsCheckBox", "RegHubsSpinEdit",
      "KickOpHubsCheckBox", "OpHubsSpinEdit", "KickSameIpCheckBox",
  };
  // The templates in the order of the file, which is not the order of the
  // detections: the limit comes before the clone.
  for (const char* word :
       {"Fake", "Proxy", "Limit", "Clone", "Nick", "Ip", "Description", "Email", "Tag", "Share", "Hubs", "SameIp"}) {
    order.push_back(std::string("Kick") + word + "CommandEdit");
    order.push_back(std::string("Raw") + word + "CheckBox");
  }
  const std::vector<std::string> rest = {
      "CmdOpsCheckBox", "AllowedCheckBox", "AllowedListView", "ProtectedUsersCheckBox", "ProtectedOpsCheckBox",
      "ProtectedListView", "KickNickListView", "KickIpListView", "KickDescriptionListView", "KickEmailListView",
      "KickTagListView", "KickShareListView", "HubIpEdit", "HubPortEdit", "AutoConnectCheckBox",
      "MinimizeToTrayCheckBox", "NoLogCheckBox", "FullLogCheckBox", "NiceLogCheckBox", "MaximumCountSpinEdit",
      "LinesCountCheckBox", "LogChatCheckBox", "LogDebugCheckBox", "LogStatusCheckBox", "ChatMemo", "LogMemo",
      "StatusMemo", "TriggerComboBox", "PageControl", "EncodingComboBox",
  };
  order.insert(order.end(), rest.begin(), rest.end());
  return order;
}

// How a control's kind is stored.
T TypeOf(const Control& control) {
  switch (control.Kind()) {
    case ControlKind::CheckBox:
      return T::Boolean;
    case ControlKind::RadioButton:
      return T::DebugMode;
    case ControlKind::Edit:
      return T::String;
    case ControlKind::Memo:
      return T::Memo;
    case ControlKind::ComboBox:
      // A combo box that starts with a text (the encoding) keeps that text.
      return control.DefaultText().empty() ? T::Index : T::String;
    case ControlKind::PageControl:
      return T::Index;
    case ControlKind::ListView:
      return T::ListSection;
    case ControlKind::Pane:
      return T::PaneScroll;
    default:
      return T::Integer;
  }
}

SettingEntry EntryOf(const Control& control) {
  if (control.IniKey().empty()) {
    throw std::logic_error(control.Name() + " is in the settings file but has no key");
  }
  const T type = TypeOf(control);
  // A pane scrolls to new lines until the operator turns that off.
  const int defaultInt = type == T::PaneScroll ? 1 : control.DefaultValue();
  return {control.IniKey(), control.Name(), type, defaultInt, control.DefaultText()};
}

std::vector<SettingEntry> BuildSchema() {
  const ControlModel controls;
  std::vector<SettingEntry> schema;
  for (const std::string& name : FileOrder()) {
    schema.push_back(EntryOf(controls.Get(name)));
  }
  std::size_t stored = 0;
  for (const Control& control : controls.All()) {
    stored += control.IniKey().empty() ? 0 : 1;
  }
  if (stored != schema.size()) {
    throw std::logic_error("a control with a settings key is missing from the file order");
  }
  return schema;
}

}  // namespace

const std::vector<SettingEntry>& SettingsSchema() {
  static const std::vector<SettingEntry> schema = BuildSchema();
  return schema;
}

}  // namespace varnek
