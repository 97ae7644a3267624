// The controls of the window, by page, with their limits, ranges, filters and
// the state they have before the settings are loaded.
#include <string>
#include <utility>
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
  b.Add({.name = "MainForm", .kind = K::Form});
  b.Key("Width").Value("MainFormWidth", K::Value, 913);
  b.Key("Height").Value("MainFormHeight", K::Value, 661);
  b.Key("Page").Value("PageControl", K::PageControl, 0);
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
  b.Key("Username").Edit("UsernameEdit", 35, F::NoBlankBarDollar);
  b.Key("Password").Edit("PasswordEdit", 35, F::None);
  b.Key("Description").Edit("DescriptionEdit", 50, F::NoBarDollar);
  b.Key("Email").Edit("EmailAddressEdit", 50, F::NoBarDollar);
  b.Key("Mode").Value("ModeComboBox", K::ComboBox, 0).SetItems({"Passive", "Active"});
  b.Add({.name = "ResendMyInfoButton", .kind = K::Button, .enabled = false});
  b.Key("Message").Memo("BotMessageMemo", 1000, F::NoBarDollar, "I do not accept any private messages since I am a bot");
  b.Key("onMessage").Check("MessageCheckBox", true);
  b.Key("OpChat").Edit("OpChatEdit", 50, F::NoBlankBarDollar);
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
  b.Key("FontColor").Value("ChatFontColorDialog", K::ColorDialog, 0);
  b.Key("ChatColor").Value("ChatColorDialog", K::ColorDialog, 0xFFFFFF);
  b.Key("Stamps").Check("TimestampsCheckBox", true);
  b.Key("Date").Check("TimestampsDateCheckBox", true);
  b.Key("onLines").Check("LinesCountCheckBox", true);
  b.Key("Lines").Spin("MaximumCountSpinEdit", 10, 10000, 500, 5);
  b.Key("AlphaBlend").Check("AlphaBlendCheckBox", false);
  b.Key("Alpha").Value("AlphaBlendTrackBar", K::TrackBar, 200, 55, 255).SetEnabled(false);
  b.Plain("AlphaBlendLabel", K::Label).SetCaption("200");
  b.Plain("LatestVersionLabel", K::Label);
  b.Plain("LatestLabel", K::Label).SetCaption("x.x.x");
  b.Key("Updates").Check("UpdatesNotifyCheckBox", true);
  b.Key("Language").Edit("LangFileEdit", 260, F::None, "English.lang");
  // The hub's code page, by name; the front ends convert with it.
  b.Key("Encoding").Add({.name = "EncodingComboBox", .kind = K::ComboBox, .text = "windows-1252"})
      .SetItems({"windows-1250", "windows-1251", "windows-1252", "windows-1253", "windows-1254", "windows-1257",
                 "ISO-8859-1", "ISO-8859-2", "ISO-8859-5", "ISO-8859-15", "KOI8-R", "UTF-8"});
  b.Key("Minimize").Check("MinimizeToTrayCheckBox", true);
  b.Key("Connect").Check("AutoConnectCheckBox", false);
  b.Key("onAutosave").Check("AutosaveCheckBox", true);
  b.Key("Autosave").Spin("AutosaveSpinEdit", 1, 10080, 60, 5);
  b.Plain({"MinutesLabel", "MinsLabel"}, K::Label);
  b.Key("LogStatus").Check("LogStatusCheckBox", false);
  b.Key("LogChat").Check("LogChatCheckBox", false);
  b.Key("LogLog").Check("LogDebugCheckBox", false);
  b.Key("onMyInfo").Check("TryInfoCheckBox", true);
  b.Key("MyInfo").Spin("TryInfoSpinEdit", 5, 1440, 30, 4);
}

void BuildHubAndCommandPages(Builder& b) {
  b.Plain("AddressGroupBox", K::GroupBox);
  b.Plain({"HubIpLabel", "HubPortLabel", "TriggerLabel"}, K::Label);
  b.Key("Dns").Edit("HubIpEdit", 100, F::NoBlank);
  b.Key("Port").Edit("HubPortEdit", 5, F::DigitsOnly);
  b.Key("Trigger").Value("TriggerComboBox", K::ComboBox, 0).SetItems(TriggerChoices());
  b.Key("Operators").Check("CmdOpsCheckBox", true);
  b.Key("Allowed").Check("AllowedCheckBox", false);
  b.Key("Allowed users").List("AllowedListView");
  b.List("OpsListBox").SetVisible(false);
  b.Key("Detections").Check("DetectionsCheckBox", false);
  b.Key("Protected users").List("ProtectedListView");
  b.Key("ProtectedUsers").Check("ProtectedUsersCheckBox", false);
  b.Key("ProtectedOperators").Check("ProtectedOpsCheckBox", true);
  b.Key("State").Check("KickToStatusCheckBox", false);
}

// One detection: its kick switch, its template editor and its raw switch. The
// editor and the raw switch start disabled because every kick switch starts off.
void BuildDetection(Builder& b, const KickKindInfo& kind) {
  if (!kind.sharedSwitches) {
    b.Key(std::string("Kick") + kind.name).Check(std::string("Kick") + kind.name + "CheckBox", false);
  }
  Control& raw = b.Key(std::string("Raw") + kind.name)
                     .Add({.name = std::string("Raw") + kind.name + "CheckBox", .kind = K::CheckBox, .enabled = false});
  Control& edit = b.Key(std::string("Command") + kind.name)
                      .Add({.name = std::string("Kick") + kind.name + "CommandEdit",
                            .kind = K::Edit,
                            .text = kind.plainDefault,
                            .maxLength = 455,
                            .filter = F::TemplateUnlessRaw,
                            .enabled = false});
  edit.SetRawSwitch(&raw);
}

void BuildDetectionPages(Builder& b) {
  b.Key("Below").Add({.name = "KickLimitBelowCheckBox", .kind = K::CheckBox, .enabled = false});
  // Stored as "Value"; its default is the least speed it takes.
  b.Key("Value").Add({.name = "KickLimitBelowSpinEdit",
         .kind = K::SpinEdit,
         .intValue = 2,
         .minimum = 2,
         .maximum = 99999,
         .maxLength = 5,
         .filter = F::DigitsOnly,
         .enabled = false});
  b.Key("KickUserHubs").Check("KickUserHubsCheckBox", false);
  b.Key("KickRegHubs").Check("KickRegHubsCheckBox", false);
  b.Key("KickOpHubs").Check("KickOpHubsCheckBox", false);
  b.Key("UserValue").Spin("UserHubsSpinEdit", 0, 999, 99, 3).SetEnabled(false);
  b.Key("RegValue").Spin("RegHubsSpinEdit", 0, 999, 99, 3).SetEnabled(false);
  b.Key("OpValue").Spin("OpHubsSpinEdit", 0, 999, 99, 3).SetEnabled(false);
  for (const KickKindInfo& kind : KickKinds()) {
    BuildDetection(b, kind);
  }
  b.Key("Nick patterns").List("KickNickListView");
  b.Key("IP patterns").List("KickIpListView");
  b.Key("Share patterns").List("KickShareListView");
  b.Key("Description patterns").List("KickDescriptionListView");
  b.Key("Email patterns").List("KickEmailListView");
  b.Key("Tag patterns").List("KickTagListView");
}

void BuildChatStatisticsAndLogPages(Builder& b) {
  // A pane stores whether it scrolls to new lines.
  b.Key("ScrollChat").Plain("ChatMemo", K::Pane);
  b.Key("ScrollStatus").Plain("StatusMemo", K::Pane);
  b.Key("ScrollLog").Plain("LogMemo", K::Pane);
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
  b.Key("LogNo").Radio("NoLogCheckBox", false, kDebugModeGroup);
  b.Key("LogFull").Radio("FullLogCheckBox", false, kDebugModeGroup);
  b.Key("LogNice").Radio("NiceLogCheckBox", true, kDebugModeGroup);
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
