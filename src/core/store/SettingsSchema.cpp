#include "core/store/SettingsSchema.h"

#include <algorithm>

#include "core/model/KickTemplates.h"

namespace varnek {
namespace {

using T = SettingEntry::Type;

SettingEntry Str(const char* key, const char* control, const char* fallback = "") {
  return {key, control, T::String, 0, fallback};
}
SettingEntry Int(const char* key, const char* control, int fallback) { return {key, control, T::Integer, fallback, {}}; }
SettingEntry Bool(const char* key, const char* control, bool fallback) {
  return {key, control, T::Boolean, fallback ? 1 : 0, {}};
}
SettingEntry Index(const char* key, const char* control) { return {key, control, T::Index, 0, {}}; }
SettingEntry List(const char* section, const char* control) { return {section, control, T::ListSection, 0, {}}; }

std::vector<SettingEntry> BuildSchema() {
  std::vector<SettingEntry> schema = {
      Int("Height", "MainFormHeight", 661),
      Int("Width", "MainFormWidth", 913),
      Str("Language", "LangFileEdit", "English.lang"),
      Str("Username", "UsernameEdit"),
      Str("Password", "PasswordEdit"),
      Str("Description", "DescriptionEdit"),
      Str("Email", "EmailAddressEdit"),
      Index("Mode", "ModeComboBox"),
      Str("OpChat", "OpChatEdit"),
      {"Message", "BotMessageMemo", T::Memo, 0, "I do not accept any private messages since I am a bot"},
      Bool("onMessage", "MessageCheckBox", true),
      Int("Autosave", "AutosaveSpinEdit", 60),
      Bool("onAutosave", "AutosaveCheckBox", true),
      Bool("Stamps", "TimestampsCheckBox", true),
      Bool("Date", "TimestampsDateCheckBox", true),
      Bool("Detections", "DetectionsCheckBox", false),
      Bool("State", "KickToStatusCheckBox", false),
      Int("ChatColor", "ChatColorDialog", 0xFFFFFF),
      Int("FontColor", "ChatFontColorDialog", 0),
      Bool("AlphaBlend", "AlphaBlendCheckBox", false),
      Int("Alpha", "AlphaBlendTrackBar", 200),
      Bool("Updates", "UpdatesNotifyCheckBox", true),
      Int("MyInfo", "TryInfoSpinEdit", 30),
      Bool("onMyInfo", "TryInfoCheckBox", true),
      Bool("KickFake", "KickFakeCheckBox", false),
      Bool("KickProxy", "KickProxyCheckBox", false),
      Bool("KickLimit", "KickLimitCheckBox", false),
      Bool("Below", "KickLimitBelowCheckBox", false),
      Int("Value", "KickLimitBelowSpinEdit", 0),
      Bool("KickClone", "KickCloneCheckBox", false),
      Bool("KickNick", "KickNickCheckBox", false),
      Bool("KickIp", "KickIpCheckBox", false),
      Bool("KickDescription", "KickDescriptionCheckBox", false),
      Bool("KickEmail", "KickEmailCheckBox", false),
      Bool("KickTag", "KickTagCheckBox", false),
      Bool("KickShare", "KickShareCheckBox", false),
      Bool("KickUserHubs", "KickUserHubsCheckBox", false),
      Int("UserValue", "UserHubsSpinEdit", 99),
      Bool("KickRegHubs", "KickRegHubsCheckBox", false),
      Int("RegValue", "RegHubsSpinEdit", 99),
      Bool("KickOpHubs", "KickOpHubsCheckBox", false),
      Int("OpValue", "OpHubsSpinEdit", 99),
      Bool("KickSameIp", "KickSameIpCheckBox", false),
  };
  // The templates in the order of the file, which is not the order of the
  // detections: the limit comes before the clone.
  for (const char* word :
       {"Fake", "Proxy", "Limit", "Clone", "Nick", "Ip", "Description", "Email", "Tag", "Share", "Hubs", "SameIp"}) {
    const std::string name(word);
    const auto& kinds = KickKinds();
    const auto kind = std::find_if(kinds.begin(), kinds.end(), [&](const KickKindInfo& k) { return name == k.name; });
    schema.push_back({"Command" + name, "Kick" + name + "CommandEdit", T::String, 0, kind->plainDefault});
    schema.push_back({"Raw" + name, "Raw" + name + "CheckBox", T::Boolean, 0, {}});
  }
  const std::vector<SettingEntry> rest = {
      Bool("Operators", "CmdOpsCheckBox", true),
      Bool("Allowed", "AllowedCheckBox", false),
      List("Allowed users", "AllowedListView"),
      Bool("ProtectedUsers", "ProtectedUsersCheckBox", false),
      Bool("ProtectedOperators", "ProtectedOpsCheckBox", true),
      List("Protected users", "ProtectedListView"),
      List("Nick patterns", "KickNickListView"),
      List("IP patterns", "KickIpListView"),
      List("Description patterns", "KickDescriptionListView"),
      List("Email patterns", "KickEmailListView"),
      List("Tag patterns", "KickTagListView"),
      List("Share patterns", "KickShareListView"),
      Str("Dns", "HubIpEdit"),
      Str("Port", "HubPortEdit"),
      Bool("Connect", "AutoConnectCheckBox", false),
      Bool("Minimize", "MinimizeToTrayCheckBox", true),
      {"LogNo", "NoLogCheckBox", T::DebugMode, 0, {}},
      {"LogFull", "FullLogCheckBox", T::DebugMode, 0, {}},
      {"LogNice", "NiceLogCheckBox", T::DebugMode, 0, {}},
      Int("Lines", "MaximumCountSpinEdit", 500),
      Bool("onLines", "LinesCountCheckBox", true),
      Bool("LogChat", "LogChatCheckBox", false),
      Bool("LogLog", "LogDebugCheckBox", false),
      Bool("LogStatus", "LogStatusCheckBox", false),
      {"ScrollChat", "ChatMemo", T::PaneScroll, 1, {}},
      {"ScrollLog", "LogMemo", T::PaneScroll, 1, {}},
      {"ScrollStatus", "StatusMemo", T::PaneScroll, 1, {}},
      Index("Trigger", "TriggerComboBox"),
      Index("Page", "PageControl"),
      Str("Encoding", "EncodingComboBox", "windows-1252"),
  };
  schema.insert(schema.end(), rest.begin(), rest.end());
  return schema;
}

}  // namespace

const std::vector<SettingEntry>& SettingsSchema() {
  static const std::vector<SettingEntry> schema = BuildSchema();
  return schema;
}

}  // namespace varnek
