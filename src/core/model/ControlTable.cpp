// The controls of the window, by page, with their limits, ranges, filters,
// the state they have before the settings are loaded (which is also the
// default of a stored setting) and the key a stored setting has in Varnek.ini.
#include <string>
#include <utility>
#include <vector>

#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/model/KickTemplates.h"
#include "core/model/ProtocolCounters.h"
#include "core/model/Triggers.h"

namespace varnek {
namespace {

using K = ControlKind;
using F = TypedFilter;

constexpr int kDebugModeGroup = 1;

class Builder {
 public:
  explicit Builder(ControlModel& model) : model_(model) {}

  Control& Plain(const std::string& name, K kind) { return Add({.name = name, .kind = kind}); }
  void Plain(std::initializer_list<const char*> names, K kind) {
    for (const char* name : names) {
      Plain(name, kind);
    }
  }
  Control& Check(const std::string& name, bool checked) {
    return Add({.name = name, .kind = K::CheckBox, .intValue = checked ? 1 : 0});
  }
  Control& Radio(const std::string& name, bool checked, int group) {
    return Add({.name = name, .kind = K::RadioButton, .intValue = checked ? 1 : 0, .radioGroup = group});
  }
  Control& Edit(const std::string& name, int maxLength, F filter, std::string text = {}) {
    return Add({.name = name, .kind = K::Edit, .text = std::move(text), .maxLength = maxLength, .filter = filter});
  }
  Control& Memo(const std::string& name, int maxLength, F filter, std::string text = {}) {
    return Add({.name = name, .kind = K::Memo, .text = std::move(text), .maxLength = maxLength, .filter = filter});
  }
  Control& Spin(const std::string& name, int minimum, int maximum, int value, int digits) {
    return Add({.name = name,
                .kind = K::SpinEdit,
                .intValue = value,
                .minimum = minimum,
                .maximum = maximum,
                .maxLength = digits,
                .filter = F::DigitsOnly});
  }
  Control& Value(const std::string& name, K kind, int value, int minimum = 0, int maximum = 0) {
    return Add({.name = name, .kind = kind, .intValue = value, .minimum = minimum, .maximum = maximum});
  }
  Control& List(const std::string& name) {
    Control& control = Plain(name, K::ListView);
    lists_.push_back(name);
    return control;
  }
  // Stores the next control added in the settings file under this key.
  Builder& Key(std::string iniKey) {
    pendingKey_ = std::move(iniKey);
    return *this;
  }
  Control& Add(ControlRow row) {
    row.iniKey = std::exchange(pendingKey_, {});
    return model_.Add(std::move(row));
  }
  const std::vector<std::string>& Lists() const { return lists_; }

 private:
  ControlModel& model_;
  std::vector<std::string> lists_;
  std::string pendingKey_;
};

void BuildFrame(Builder& b) {
  b.Add({.name = ctl::kMainForm, .kind = K::Form});
  b.Key("Width").Value(ctl::kMainFormWidth, K::Value, 913);
  b.Key("Height").Value(ctl::kMainFormHeight, K::Value, 661);
  b.Key("Page").Value(ctl::kPageControl, K::PageControl, 0);
  b.Plain(ctl::kButtonsPanel, K::Panel);
  b.Plain({ctl::kConnectButton, ctl::kExitButton}, K::Button);
  b.Add({.name = ctl::kReconnectButton, .kind = K::Button, .enabled = false});
  b.Add({.name = ctl::kLoadCommandsButton, .kind = K::Button, .visible = false});
  b.Add({.name = ctl::kLoadRawCommandsButton, .kind = K::Button, .visible = false});
  b.Plain(ctl::kStatusBar, K::StatusBar);
  b.Value(ctl::kClientCoolTrayIcon, K::TrayIcon, 0);
  b.Plain({ctl::kUserSettingsTabSheet, ctl::kClientSettingsTabSheet, ctl::kHubSettingsTabSheet,
           ctl::kCommandSettingsTabSheet, ctl::kDetectionSettingsTabSheet, ctl::kaDetectionsTabSheet,
           ctl::kbDetectionsTabSheet, ctl::kHubChatTabSheet, ctl::kStatisticsTabSheet, ctl::kStatusTabSheet,
           ctl::kLogTabSheet, ctl::kAboutTabSheet},
          K::TabSheet);
}

void BuildUserPage(Builder& b) {
  b.Plain({ctl::kUserGroupBox, ctl::kBotMessageGroupBox}, K::GroupBox);
  b.Plain({ctl::kUsernameLabel, ctl::kPasswordLabel, ctl::kDescriptionLabel, ctl::kEmailAddressLabel, ctl::kModeLabel,
           ctl::kOpChatLabel},
          K::Label);
  b.Key("Username").Edit(ctl::kUsernameEdit, 35, F::NoBlankBarDollar);
  b.Key("Password").Edit(ctl::kPasswordEdit, 35, F::None);
  b.Key("Description").Edit(ctl::kDescriptionEdit, 50, F::NoBarDollar);
  b.Key("Email").Edit(ctl::kEmailAddressEdit, 50, F::NoBarDollar);
  b.Key("Mode").Value(ctl::kModeComboBox, K::ComboBox, 0).SetItems({"Passive", "Active"});
  b.Add({.name = ctl::kResendMyInfoButton, .kind = K::Button, .enabled = false});
  b.Key("Message").Memo(ctl::kBotMessageMemo, 1000, F::NoBarDollar,
                        "I do not accept any private messages since I am a bot");
  b.Key("onMessage").Check(ctl::kMessageCheckBox, true);
  b.Key("OpChat").Edit(ctl::kOpChatEdit, 50, F::NoBlankBarDollar);
}

void BuildClientPage(Builder& b) {
  b.Plain({ctl::kChatGroupBox, ctl::kAlphaBlendGroupBox, ctl::kUpdatesGroupBox, ctl::kLangFileGroupBox,
           ctl::kAutomaticGroupBox, ctl::kLoggingGroupBox, ctl::kInfoGroupBox},
          K::GroupBox);
  b.Plain(ctl::kChatPreviewPanel, K::Panel);
  b.Plain(ctl::kUserImage, K::Image);
  b.Plain({ctl::kChatFontColorButton, ctl::kChatColorButton, ctl::kVersionButton, ctl::kLangFileButton,
           ctl::kLangReloadButton, ctl::kSaveSettingsButton},
          K::Button);
  b.Key("FontColor").Value(ctl::kChatFontColorDialog, K::ColorDialog, 0);
  b.Key("ChatColor").Value(ctl::kChatColorDialog, K::ColorDialog, 0xFFFFFF);
  b.Key("Stamps").Check(ctl::kTimestampsCheckBox, true);
  b.Key("Date").Check(ctl::kTimestampsDateCheckBox, true);
  b.Key("onLines").Check(ctl::kLinesCountCheckBox, true);
  b.Key("Lines").Spin(ctl::kMaximumCountSpinEdit, 10, 10000, 500, 5);
  b.Key("AlphaBlend").Check(ctl::kAlphaBlendCheckBox, false);
  b.Key("Alpha").Value(ctl::kAlphaBlendTrackBar, K::TrackBar, 200, 55, 255).SetEnabled(false);
  b.Plain(ctl::kAlphaBlendLabel, K::Label).SetCaption("200");
  b.Plain(ctl::kLatestVersionLabel, K::Label);
  b.Plain(ctl::kLatestLabel, K::Label).SetCaption("x.x.x");
  b.Key("Updates").Check(ctl::kUpdatesNotifyCheckBox, true);
  b.Key("Language").Edit(ctl::kLangFileEdit, 260, F::None, "English.lang");
  // The hub's code page, by name; the front ends convert with it.
  b.Key("Encoding")
      .Add({.name = ctl::kEncodingComboBox, .kind = K::ComboBox, .text = "windows-1252"})
      .SetItems({"windows-1250", "windows-1251", "windows-1252", "windows-1253", "windows-1254", "windows-1257",
                 "ISO-8859-1", "ISO-8859-2", "ISO-8859-5", "ISO-8859-15", "KOI8-R", "UTF-8"});
  // The user list's columns (widths by column, columns in the order shown,
  // both comma-separated) and the chat pane's width beside it, as the
  // operator left them; empty and 0 leave them to the window.
  b.Key("ColumnWidths").Edit(ctl::kUserListColumnWidths, 0, F::None);
  b.Key("ColumnOrder").Edit(ctl::kUserListColumnOrder, 0, F::None);
  b.Key("Splitter").Value(ctl::kChatSplitterPosition, K::Value, 0);
  b.Key("Minimize").Check(ctl::kMinimizeToTrayCheckBox, true);
  b.Key("Connect").Check(ctl::kAutoConnectCheckBox, false);
  b.Key("onAutosave").Check(ctl::kAutosaveCheckBox, true);
  b.Key("Autosave").Spin(ctl::kAutosaveSpinEdit, 1, 10080, 60, 5);
  b.Plain({ctl::kMinutesLabel, ctl::kMinsLabel}, K::Label);
  b.Key("LogStatus").Check(ctl::kLogStatusCheckBox, false);
  b.Key("LogChat").Check(ctl::kLogChatCheckBox, false);
  b.Key("LogLog").Check(ctl::kLogDebugCheckBox, false);
  b.Key("onMyInfo").Check(ctl::kTryInfoCheckBox, true);
  b.Key("MyInfo").Spin(ctl::kTryInfoSpinEdit, 5, 1440, 30, 4);
  b.Plain({ctl::kChatPreviewLabel, ctl::kEncodingLabel}, K::Label);
  // The tray's notices; kicks can come by the hundred, so they start off.
  b.Plain(ctl::kNotifyGroupBox, K::GroupBox);
  b.Key("NotifyPrivate").Check(ctl::kNotifyPrivateCheckBox, true);
  b.Key("NotifyKick").Check(ctl::kNotifyKickCheckBox, false);
  b.Key("NotifyDisconnect").Check(ctl::kNotifyDisconnectCheckBox, true);
  // The evidence for "why was I kicked?"; written at once, so on by default.
  b.Key("LogKicks").Check(ctl::kLogKicksCheckBox, true);
}

void BuildHubAndCommandPages(Builder& b) {
  b.Plain(ctl::kAddressGroupBox, K::GroupBox);
  b.Plain({ctl::kHubIpLabel, ctl::kHubPortLabel, ctl::kTriggerLabel}, K::Label);
  b.Key("Dns").Edit(ctl::kHubIpEdit, 100, F::NoBlank);
  b.Key("Port").Edit(ctl::kHubPortEdit, 5, F::DigitsOnly);
  b.Key("Trigger").Value(ctl::kTriggerComboBox, K::ComboBox, 0).SetItems(TriggerChoices());
  b.Key("Operators").Check(ctl::kCmdOpsCheckBox, true);
  b.Key("Allowed").Check(ctl::kAllowedCheckBox, false);
  b.Key("Allowed users").List(ctl::kAllowedListView);
  b.List(ctl::kOpsListBox).SetVisible(false);
  b.Key("Detections").Check(ctl::kDetectionsCheckBox, false);
  b.Key("Protected users").List(ctl::kProtectedListView);
  b.Key("ProtectedUsers").Check(ctl::kProtectedUsersCheckBox, false);
  b.Key("ProtectedOperators").Check(ctl::kProtectedOpsCheckBox, true);
  b.Key("State").Check(ctl::kKickToStatusCheckBox, false);
}

// One detection: its kick switch, its template editor and its raw switch. The
// editor and the raw switch start disabled because every kick switch starts off.
void BuildDetection(Builder& b, const KickKindInfo& kind) {
  const DetectionRow& row = *kind.row;
  if (row.HasKickSwitch()) {
    b.Key(std::string("Kick") + row.name).Check(row.kickSwitch, false);
  }
  Control& raw =
      b.Key(std::string("Raw") + row.name).Add({.name = row.rawSwitch, .kind = K::CheckBox, .enabled = false});
  // The protocol's own word in every language.
  raw.SetCaption("Raw");
  Control& edit = b.Key(std::string("Command") + row.name)
                      .Add({.name = row.commandEdit,
                            .kind = K::Edit,
                            .text = kind.plainDefault,
                            .maxLength = 455,
                            .filter = F::TemplateUnlessRaw,
                            .enabled = false});
  edit.SetRawSwitch(&raw);
}

void BuildDetectionPages(Builder& b) {
  b.Key("Below").Add({.name = ctl::kKickLimitBelowCheckBox, .kind = K::CheckBox, .enabled = false});
  // Stored as "Value"; its default is the least speed it takes.
  b.Key("Value").Add({.name = ctl::kKickLimitBelowSpinEdit,
                      .kind = K::SpinEdit,
                      .intValue = 2,
                      .minimum = 2,
                      .maximum = 99999,
                      .maxLength = 5,
                      .filter = F::DigitsOnly,
                      .enabled = false});
  b.Key("KickUserHubs").Check(ctl::kKickUserHubsCheckBox, false);
  b.Key("LimitFromConnection").Check(ctl::kLimitFromConnectionCheckBox, false);
  b.Key("KickRegHubs").Check(ctl::kKickRegHubsCheckBox, false);
  b.Key("KickOpHubs").Check(ctl::kKickOpHubsCheckBox, false);
  b.Key("UserValue").Spin(ctl::kUserHubsSpinEdit, 0, 999, 99, 3).SetEnabled(false);
  b.Key("RegValue").Spin(ctl::kRegHubsSpinEdit, 0, 999, 99, 3).SetEnabled(false);
  b.Key("OpValue").Spin(ctl::kOpHubsSpinEdit, 0, 999, 99, 3).SetEnabled(false);
  for (const KickKindInfo& kind : KickKinds()) {
    BuildDetection(b, kind);
  }
  for (DetectionKind kind : kPatternDetectionKinds) {
    const DetectionPatternList& list = DetectionRowOf(kind).patterns;
    b.Key(list.section).List(list.listView);
  }
}

void BuildChatStatisticsAndLogPages(Builder& b) {
  // A pane stores whether it scrolls to new lines.
  b.Key("ScrollChat").Plain(ctl::kChatMemo, K::Pane);
  b.Key("ScrollStatus").Plain(ctl::kStatusMemo, K::Pane);
  b.Key("ScrollLog").Plain(ctl::kLogMemo, K::Pane);
  b.Plain(ctl::kUserListView, K::ListView);
  b.Add({.name = ctl::kSendMemo, .kind = K::Memo, .enabled = false});
  b.Add({.name = ctl::kSendButton, .kind = K::Button, .enabled = false});
  b.Plain({ctl::kLocalTimeLabel, ctl::kUptimeLabel, ctl::kSystemUptimeLabel, ctl::kDetectionsLabel,
           ctl::kKicksNotCarriedOutLabel, ctl::kReceivedLabel, ctl::kSentLabel},
          K::Label);
  for (const auto& row : kSentCounterRows) {
    b.Plain(row.label, K::Label);
  }
  for (const auto& row : kReceivedCounterRows) {
    b.Plain(row.label, K::Label);
  }
  b.Plain(ctl::kClearStatisticsButton, K::Button);
  b.Key("LogNo").Radio(ctl::kNoLogCheckBox, false, kDebugModeGroup);
  b.Key("LogFull").Radio(ctl::kFullLogCheckBox, false, kDebugModeGroup);
  b.Key("LogNice").Radio(ctl::kNiceLogCheckBox, true, kDebugModeGroup);
}

void BuildAboutPage(Builder& b) {
  b.Plain({ctl::kApplicationLabel, ctl::kCopyrightLabel}, K::Label);
  b.Plain({ctl::kInfoEmailLabel, ctl::kInfoWebsiteLabel, ctl::kInfoBugLabel, ctl::kInfoFeatureLabel,
           ctl::kProtocolLinkLabel},
          K::LinkLabel);
  b.Plain({ctl::kThanksGroupBox, ctl::kHelpGroupBox, ctl::kFaqGroupBox}, K::GroupBox);
  b.Plain({ctl::kThanksMemo, ctl::kHelpMemo, ctl::kFaqMemo}, K::Memo);
}

void BuildMenus(Builder& b) {
  b.Plain({ctl::kAddPopup,
           ctl::kEditPopup,
           ctl::kDeletePopup,
           ctl::kCopyPopup,
           ctl::kSelectPopup,
           ctl::kClearPopup,
           ctl::kScrollPopup,
           ctl::kIpUserPopup,
           ctl::kKickUserPopup,
           ctl::kRedirectUserPopup,
           ctl::kPmUserPopup,
           ctl::kCopyUserPopup,
           ctl::kcUsernameUserPopup,
           ctl::kcShareUserPopup,
           ctl::kcExactShareUserPopup,
           ctl::kcDescriptionUserPopup,
           ctl::kcTagUserPopup,
           ctl::kcModeUserPopup,
           ctl::kcConnectionUserPopup,
           ctl::kcStatusUserPopup,
           ctl::kcEmailUserPopup,
           ctl::kcLimitUserPopup,
           ctl::kcIpUserPopup,
           ctl::kcAllUserPopup,
           ctl::kAddOpChatUserPopup,
           ctl::kAddToAllowedUserPopup,
           ctl::kAddToProtectedUserPopup,
           ctl::kShowTrayPopup,
           ctl::kConnectTrayPopup,
           ctl::kExitTrayPopup},
          K::MenuItem);
  b.Add({.name = ctl::kRefreshUserPopup, .kind = K::MenuItem, .enabled = false});
}

}  // namespace

void BuildControls(ControlModel& model) {
  Builder b(model);
  BuildFrame(b);
  BuildUserPage(b);
  BuildClientPage(b);
  BuildHubAndCommandPages(b);
  BuildDetectionPages(b);
  BuildChatStatisticsAndLogPages(b);
  BuildAboutPage(b);
  BuildMenus(b);
  for (const std::string& name : b.Lists()) {
    model.AddList(name);
  }
}

}  // namespace varnek
