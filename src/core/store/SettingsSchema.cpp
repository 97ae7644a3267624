#include "core/store/SettingsSchema.h"

#include <set>
#include <stdexcept>

#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/model/KickTemplates.h"

namespace varnek {
namespace {

using T = SettingEntry::Type;

// The stored controls in the order their keys are written. Each control's
// key, default and range are in its own row of the control table.
constexpr const char* kFileOrder[] = {
    ctl::kMainFormHeight,
    ctl::kMainFormWidth,
    ctl::kLangFileEdit,
    ctl::kUsernameEdit,
    ctl::kPasswordEdit,
    ctl::kDescriptionEdit,
    ctl::kEmailAddressEdit,
    ctl::kModeComboBox,
    ctl::kOpChatEdit,
    ctl::kBotMessageMemo,
    ctl::kMessageCheckBox,
    ctl::kAutosaveSpinEdit,
    ctl::kAutosaveCheckBox,
    ctl::kTimestampsCheckBox,
    ctl::kTimestampsDateCheckBox,
    ctl::kDetectionsCheckBox,
    ctl::kKickToStatusCheckBox,
    ctl::kChatColorDialog,
    ctl::kChatFontColorDialog,
    ctl::kAlphaBlendCheckBox,
    ctl::kAlphaBlendTrackBar,
    ctl::kUpdatesNotifyCheckBox,
    ctl::kTryInfoSpinEdit,
    ctl::kTryInfoCheckBox,
    ctl::kKickFakeCheckBox,
    ctl::kKickProxyCheckBox,
    ctl::kKickLimitCheckBox,
    ctl::kKickLimitBelowCheckBox,
    ctl::kKickLimitBelowSpinEdit,
    ctl::kKickCloneCheckBox,
    ctl::kKickNickCheckBox,
    ctl::kKickIpCheckBox,
    ctl::kKickDescriptionCheckBox,
    ctl::kKickEmailCheckBox,
    ctl::kKickTagCheckBox,
    ctl::kKickShareCheckBox,
    ctl::kKickUserHubsCheckBox,
    ctl::kUserHubsSpinEdit,
    ctl::kKickRegHubsCheckBox,
    ctl::kRegHubsSpinEdit,
    ctl::kKickOpHubsCheckBox,
    ctl::kOpHubsSpinEdit,
    ctl::kKickSameIpCheckBox,
    // The templates in the order of the file, which is not the order of the
    // detections: the limit comes before the clone.
    ctl::kKickFakeCommandEdit,
    ctl::kRawFakeCheckBox,
    ctl::kKickProxyCommandEdit,
    ctl::kRawProxyCheckBox,
    ctl::kKickLimitCommandEdit,
    ctl::kRawLimitCheckBox,
    ctl::kKickCloneCommandEdit,
    ctl::kRawCloneCheckBox,
    ctl::kKickNickCommandEdit,
    ctl::kRawNickCheckBox,
    ctl::kKickIpCommandEdit,
    ctl::kRawIpCheckBox,
    ctl::kKickDescriptionCommandEdit,
    ctl::kRawDescriptionCheckBox,
    ctl::kKickEmailCommandEdit,
    ctl::kRawEmailCheckBox,
    ctl::kKickTagCommandEdit,
    ctl::kRawTagCheckBox,
    ctl::kKickShareCommandEdit,
    ctl::kRawShareCheckBox,
    ctl::kKickHubsCommandEdit,
    ctl::kRawHubsCheckBox,
    ctl::kKickSameIpCommandEdit,
    ctl::kRawSameIpCheckBox,
    ctl::kCmdOpsCheckBox,
    ctl::kAllowedCheckBox,
    ctl::kAllowedListView,
    ctl::kProtectedUsersCheckBox,
    ctl::kProtectedOpsCheckBox,
    ctl::kProtectedListView,
    ctl::kKickNickListView,
    ctl::kKickIpListView,
    ctl::kKickDescriptionListView,
    ctl::kKickEmailListView,
    ctl::kKickTagListView,
    ctl::kKickShareListView,
    ctl::kHubIpEdit,
    ctl::kHubPortEdit,
    ctl::kAutoConnectCheckBox,
    ctl::kMinimizeToTrayCheckBox,
    ctl::kNoLogCheckBox,
    ctl::kFullLogCheckBox,
    ctl::kNiceLogCheckBox,
    ctl::kMaximumCountSpinEdit,
    ctl::kLinesCountCheckBox,
    ctl::kLogChatCheckBox,
    ctl::kLogDebugCheckBox,
    ctl::kLogStatusCheckBox,
    ctl::kChatMemo,
    ctl::kLogMemo,
    ctl::kStatusMemo,
    ctl::kTriggerComboBox,
    ctl::kPageControl,
    ctl::kEncodingComboBox,
    // Keys added later follow, so an older file loads as it always did.
    ctl::kUserListColumnWidths,
    ctl::kUserListColumnOrder,
    ctl::kChatSplitterPosition,
    ctl::kLimitFromConnectionCheckBox,
    ctl::kNotifyPrivateCheckBox,
    ctl::kNotifyKickCheckBox,
    ctl::kNotifyDisconnectCheckBox,
    ctl::kLogKicksCheckBox,
};

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
      return control.ChoosesByText() ? T::String : T::Index;
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
  std::set<std::string_view> ordered;
  for (const char* name : kFileOrder) {
    schema.push_back(EntryOf(controls.Get(name)));
    if (!ordered.insert(name).second) {
      throw std::logic_error(std::string(name) + " is twice in the file order");
    }
  }
  // The same set of controls, not only as many: each keyed control once.
  for (const Control& control : controls.All()) {
    if (!control.IniKey().empty() && !ordered.contains(control.Name())) {
      throw std::logic_error(control.Name() + " has a settings key but no place in the file order");
    }
  }
  return schema;
}

}  // namespace

const std::vector<SettingEntry>& SettingsSchema() {
  static const std::vector<SettingEntry> schema = BuildSchema();
  return schema;
}

}  // namespace varnek
