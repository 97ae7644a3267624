// The controls of the window, by page, with their limits, ranges, filters and
// the state they have before the settings are loaded.
#include <string>
#include <vector>

#include "core/hub/ProtocolCounters.h"
#include "core/ui/ControlModel.h"
#include "core/ui/Triggers.h"
#include "core/users/KickTemplates.h"

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
  Control& Add(ControlRow row) { return model_.Add(std::move(row)); }
  const std::vector<std::string>& Lists() const { return lists_; }

 private:
  ControlModel& model_;
  std::vector<std::string> lists_;
};

void BuildFrame(Builder& b) {
  b.Add({.name = "MainForm", .kind = K::Form});
  b.Value("MainFormWidth", K::Value, 913);
  b.Value("MainFormHeight", K::Value, 661);
  b.Value("PageControl", K::PageControl, 0);
  b.Plain("ButtonsPanel", K::Panel);
  b.Plain({"ConnectButton", "ExitButton"}, K::Button);
  b.Add({.name = "ReconnectButton", .kind = K::Button, .enabled = false});
  b.Add({.name = "LoadCommandsButton", .kind = K::Button, .visible = false});
  b.Add({.name = "LoadRawCommandsButton", .kind = K::Button, .visible = false});
  b.Plain("StatusBar", K::StatusBar);
  b.Value("ClientCoolTrayIcon", K::TrayIcon, 0);
  b.Plain({"UserSettingsTabSheet", "ClientSettingsTabSheet", "HubSettingsTabSheet", "CommandSettingsTabSheet",
           "DetectionSettingsTabSheet", "aDetectionsTabSheet", "bDetectionsTabSheet", "HubChatTabSheet",
           "StatisticsTabSheet", "StatusTabSheet", "LogTabSheet", "AboutTabSheet"},
          K::TabSheet);
}

void BuildUserPage(Builder& b) {
  b.Plain({"UserGroupBox", "BotMessageGroupBox"}, K::GroupBox);
  b.Plain({"UsernameLabel", "PasswordLabel", "DescriptionLabel", "EmailAddressLabel", "ModeLabel", "OpChatLabel"},
          K::Label);
  b.Edit("UsernameEdit", 35, F::NoBlankBarDollar);
  b.Edit("PasswordEdit", 35, F::None);
  b.Edit("DescriptionEdit", 50, F::NoBarDollar);
  b.Edit("EmailAddressEdit", 50, F::NoBarDollar);
  b.Value("ModeComboBox", K::ComboBox, 0).SetItems({"Passive", "Active"});
  b.Add({.name = "ResendMyInfoButton", .kind = K::Button, .enabled = false});
  b.Memo("BotMessageMemo", 1000, F::NoBarDollar, "I do not accept any private messages since I am a bot");
  b.Check("MessageCheckBox", true);
  b.Edit("OpChatEdit", 50, F::NoBlankBarDollar);
}

void BuildClientPage(Builder& b) {
  b.Plain({"ChatGroupBox", "AlphaBlendGroupBox", "UpdatesGroupBox", "LangFileGroupBox", "AutomaticGroupBox",
           "LoggingGroupBox", "InfoGroupBox"},
          K::GroupBox);
  b.Plain("ChatPreviewPanel", K::Panel);
  b.Plain("UserImage", K::Image);
  b.Plain({"ChatFontColorButton", "ChatColorButton", "VersionButton", "LangFileButton", "LangReloadButton",
           "SaveSettingsButton"},
          K::Button);
  b.Value("ChatFontColorDialog", K::ColorDialog, 0);
  b.Value("ChatColorDialog", K::ColorDialog, 0xFFFFFF);
  b.Check("TimestampsCheckBox", true);
  b.Check("TimestampsDateCheckBox", true);
  b.Check("LinesCountCheckBox", true);
  b.Spin("MaximumCountSpinEdit", 10, 10000, 500, 5);
  b.Check("AlphaBlendCheckBox", false);
  b.Value("AlphaBlendTrackBar", K::TrackBar, 200, 55, 255).SetEnabled(false);
  b.Plain("AlphaBlendLabel", K::Label).SetCaption("200");
  b.Plain("LatestVersionLabel", K::Label);
  b.Plain("LatestLabel", K::Label).SetCaption("x.x.x");
  b.Check("UpdatesNotifyCheckBox", true);
  b.Edit("LangFileEdit", 260, F::None, "English.lang");
  // The hub's code page, by name; the front ends convert with it.
  b.Add({.name = "EncodingComboBox", .kind = K::ComboBox, .text = "windows-1252"})
      .SetItems({"windows-1250", "windows-1251", "windows-1252", "windows-1253", "windows-1254", "windows-1257",
                 "ISO-8859-1", "ISO-8859-2", "ISO-8859-5", "ISO-8859-15", "KOI8-R", "UTF-8"});
  b.Check("MinimizeToTrayCheckBox", true);
  b.Check("AutoConnectCheckBox", false);
  b.Check("AutosaveCheckBox", true);
  b.Spin("AutosaveSpinEdit", 1, 10080, 60, 5);
  b.Plain({"MinutesLabel", "MinsLabel"}, K::Label);
  b.Check("LogStatusCheckBox", false);
  b.Check("LogChatCheckBox", false);
  b.Check("LogDebugCheckBox", false);
  b.Check("TryInfoCheckBox", true);
  b.Spin("TryInfoSpinEdit", 5, 1440, 30, 4);
}

void BuildHubAndCommandPages(Builder& b) {
  b.Plain("AddressGroupBox", K::GroupBox);
  b.Plain({"HubIpLabel", "HubPortLabel", "TriggerLabel"}, K::Label);
  b.Edit("HubIpEdit", 100, F::NoBlank);
  b.Edit("HubPortEdit", 5, F::DigitsOnly);
  b.Value("TriggerComboBox", K::ComboBox, 0).SetItems(TriggerChoices());
  b.Check("CmdOpsCheckBox", true);
  b.Check("AllowedCheckBox", false);
  b.List("AllowedListView");
  b.List("OpsListBox").SetVisible(false);
  b.Check("DetectionsCheckBox", false);
  b.List("ProtectedListView");
  b.Check("ProtectedUsersCheckBox", false);
  b.Check("ProtectedOpsCheckBox", true);
  b.Check("KickToStatusCheckBox", false);
}

// One detection: its kick switch, its template editor and its raw switch. The
// editor and the raw switch start disabled because every kick switch starts off.
void BuildDetection(Builder& b, const KickKindInfo& kind) {
  if (!kind.sharedSwitches) {
    b.Check(std::string("Kick") + kind.name + "CheckBox", false);
  }
  Control& raw = b.Add({.name = std::string("Raw") + kind.name + "CheckBox", .kind = K::CheckBox, .enabled = false});
  Control& edit = b.Add({.name = std::string("Kick") + kind.name + "CommandEdit",
                         .kind = K::Edit,
                         .text = kind.plainDefault,
                         .maxLength = 455,
                         .filter = F::TemplateUnlessRaw,
                         .enabled = false});
  edit.SetRawSwitch(&raw);
}

void BuildDetectionPages(Builder& b) {
  b.Add({.name = "KickLimitBelowCheckBox", .kind = K::CheckBox, .enabled = false});
  b.Add({.name = "KickLimitBelowSpinEdit",
         .kind = K::SpinEdit,
         .intValue = 2,
         .minimum = 2,
         .maximum = 99999,
         .maxLength = 5,
         .filter = F::DigitsOnly,
         .enabled = false});
  for (const char* name : {"KickUserHubsCheckBox", "KickRegHubsCheckBox", "KickOpHubsCheckBox"}) {
    b.Check(name, false);
  }
  for (const char* name : {"UserHubsSpinEdit", "RegHubsSpinEdit", "OpHubsSpinEdit"}) {
    b.Spin(name, 0, 999, 99, 3).SetEnabled(false);
  }
  for (const KickKindInfo& kind : KickKinds()) {
    BuildDetection(b, kind);
  }
  for (const char* name : {"KickNickListView", "KickIpListView", "KickShareListView", "KickDescriptionListView",
                           "KickEmailListView", "KickTagListView"}) {
    b.List(name);
  }
}

void BuildChatStatisticsAndLogPages(Builder& b) {
  b.Plain({"ChatMemo", "StatusMemo", "LogMemo"}, K::Pane);
  b.Plain("UserListView", K::ListView);
  b.Add({.name = "SendMemo", .kind = K::Memo, .enabled = false});
  b.Add({.name = "SendButton", .kind = K::Button, .enabled = false});
  b.Plain({"LocalTimeLabel", "UptimeLabel", "SystemUptimeLabel", "DetectionsLabel", "ReceivedLabel", "SentLabel"},
          K::Label);
  for (const auto& row : kSentCounterRows) {
    b.Plain(row.label, K::Label);
  }
  for (const auto& row : kReceivedCounterRows) {
    b.Plain(row.label, K::Label);
  }
  b.Plain("ClearStatisticsButton", K::Button);
  b.Radio("NoLogCheckBox", false, kDebugModeGroup);
  b.Radio("FullLogCheckBox", false, kDebugModeGroup);
  b.Radio("NiceLogCheckBox", true, kDebugModeGroup);
}

void BuildAboutPage(Builder& b) {
  b.Plain({"ApplicationLabel", "CopyrightLabel"}, K::Label);
  b.Plain({"InfoEmailLabel", "InfoWebsiteLabel", "InfoBugLabel", "InfoFeatureLabel", "ProtocolLinkLabel"},
          K::LinkLabel);
  b.Plain({"ThanksGroupBox", "HelpGroupBox", "FaqGroupBox"}, K::GroupBox);
  b.Plain({"ThanksMemo", "HelpMemo", "FaqMemo"}, K::Memo);
}

void BuildMenus(Builder& b) {
  b.Plain({"AddPopup", "EditPopup", "DeletePopup", "CopyPopup", "SelectPopup", "ClearPopup", "ScrollPopup",
           "IpUserPopup", "KickUserPopup", "RedirectUserPopup", "PmUserPopup", "CopyUserPopup", "cUsernameUserPopup",
           "cShareUserPopup", "cExactShareUserPopup", "cDescriptionUserPopup", "cTagUserPopup", "cModeUserPopup",
           "cConnectionUserPopup", "cStatusUserPopup", "cEmailUserPopup", "cLimitUserPopup", "cIpUserPopup",
           "cAllUserPopup", "AddOpChatUserPopup", "AddToAllowedUserPopup", "AddToProtectedUserPopup",
           "ShowTrayPopup", "ConnectTrayPopup", "ExitTrayPopup"},
          K::MenuItem);
  b.Add({.name = "RefreshUserPopup", .kind = K::MenuItem, .enabled = false});
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
