// clang-format off
#include "core/store/LanguageBindings.h"

namespace varnek {
namespace {

struct Binding {
  const char* control;
  LangKey key;
};

// Captions of pages, boxes, labels, buttons and switches.
const Binding kCaptions[] = {
    {"UserSettingsTabSheet", LangUserSettings},
    {"UserGroupBox", LangUser},
    {"UsernameLabel", LangUsername},
    {"PasswordLabel", LangPassword},
    {"DescriptionLabel", LangDescription},
    {"EmailAddressLabel", LangEmailAddress},
    {"ModeLabel", LangMode},
    {"BotMessageGroupBox", LangBotMessage},
    {"ResendMyInfoButton", LangResendMyInfo},
    {"ClientSettingsTabSheet", LangClientSettings},
    {"ChatGroupBox", LangChatSettings},
    {"ChatPreviewPanel", LangPreview},
    {"ChatFontColorButton", LangFontColor},
    {"ChatColorButton", LangBackgroundColor},
    {"AlphaBlendGroupBox", LangAlphaBlend},
    {"AlphaBlendCheckBox", LangEnabled},
    {"UpdatesGroupBox", LangUpdates},
    {"LatestVersionLabel", LangLatestVersion},
    {"UpdatesNotifyCheckBox", LangNotifyMe},
    {"LangFileGroupBox", LangLanguageFile},
    {"LangFileButton", LangBrowse},
    {"LangReloadButton", LangReload},
    {"HubSettingsTabSheet", LangHubSettings},
    {"AddressGroupBox", LangAddress},
    {"HubIpLabel", LangIpDnsAddress},
    {"HubPortLabel", LangPortNumber},
    {"AutoConnectCheckBox", LangAutomaticallyConnect},
    {"KickFakeCheckBox", LangSameNumbers},
    {"KickProxyCheckBox", LangProxyConnections},
    {"KickLimitCheckBox", LangUploadLimit},
    {"KickCloneCheckBox", LangClonedUsers},
    {"KickLimitBelowCheckBox", LangOnlySpeedBelow},
    {"KickNickCheckBox", LangForbiddenNick},
    {"KickIpCheckBox", LangForbiddenIp},
    {"KickDescriptionCheckBox", LangForbiddenDescription},
    {"KickEmailCheckBox", LangForbiddenEmail},
    {"KickTagCheckBox", LangForbiddenTag},
    {"KickShareCheckBox", LangForbiddenShare},
    {"HubChatTabSheet", LangHubChat},
    {"SendButton", LangSend},
    {"LogTabSheet", LangDebugOutput},
    {"NoLogCheckBox", LangNothing},
    {"FullLogCheckBox", LangFullDebug},
    {"NiceLogCheckBox", LangNiceOutput},
    {"AboutTabSheet", LangAbout},
    {"InfoBugLabel", LangBugReport},
    {"InfoFeatureLabel", LangFeatureRequest},
    {"InfoEmailLabel", LangContact},
    {"InfoWebsiteLabel", LangWebsite},
    {"ThanksGroupBox", LangThanks},
    {"HelpGroupBox", LangHelp},
    {"FaqGroupBox", LangFaq},
    {"ReconnectButton", LangReconnect},
    {"MinimizeToTrayCheckBox", LangMinimizeToTray},
    {"ExitButton", LangExit},
    {"StatisticsTabSheet", LangStatistics},
    {"aDetectionsTabSheet", LangDetections},
    {"bDetectionsTabSheet", LangDetections},
    {"ReceivedLabel", LangReceived},
    {"SentLabel", LangSent},
    {"ClearStatisticsButton", LangClear},
    {"DetectionsCheckBox", LangEnableDetections},
    {"ProtectedUsersCheckBox", LangProtectedUsers},
    {"CommandSettingsTabSheet", LangCommandSettings},
    {"CmdOpsCheckBox", LangAllowOperators},
    {"AllowedCheckBox", LangAllowedUsers},
    {"TriggerLabel", LangTrigger},
    {"ProtectedOpsCheckBox", LangProtectOperators},
    {"AutosaveCheckBox", LangAutomaticallySaveSettings},
    {"MinutesLabel", LangMinutes},
    {"MinsLabel", LangMinutes},
    {"AutomaticGroupBox", LangAutomaticSettings},
    {"SaveSettingsButton", LangSaveSettings},
    {"DetectionSettingsTabSheet", LangDetectionSettings},
    {"KickToStatusCheckBox", LangSendKickMessage},
    {"KickUserHubsCheckBox", LangUserHubsCount},
    {"KickRegHubsCheckBox", LangRegisteredHubsCount},
    {"KickOpHubsCheckBox", LangOperatorHubsCount},
    {"LoggingGroupBox", LangLoggingToFile},
    {"LogStatusCheckBox", LangLogStatusMessages},
    {"LogChatCheckBox", LangLogHubChat},
    {"LogDebugCheckBox", LangLogDebugOutput},
    {"TimestampsCheckBox", LangShowTimeStamps},
    {"TimestampsDateCheckBox", LangShowDate},
    {"KickSameIpCheckBox", LangConnectionsFromSameIp},
    {"LinesCountCheckBox", LangMaximumLinesCount},
    {"StatusTabSheet", LangStatusOutput},
    {"LoadCommandsButton", LangLoadCommands},
    {"LoadRawCommandsButton", LangLoadRawCommands},
    {"ProtocolLinkLabel", LangProtocolCommands},
    {"OpChatLabel", LangOpChatNick},
    {"MessageCheckBox", LangEnabled},
    {"TryInfoCheckBox", LangTryMyInfo},
    {"InfoGroupBox", LangUserInfo},
    {"VersionButton", LangCheckNow},
};

// Tool tips.
const Binding kHints[] = {
    {"ResendMyInfoButton", LangHintResendMyInfo},
    {"UserImage", LangHintUserIcons},
    {"AlphaBlendCheckBox", LangHintAlphaBlend},
    {"AlphaBlendTrackBar", LangHintTransparency},
    {"LatestLabel", LangHintLatestVersion},
    {"UpdatesNotifyCheckBox", LangHintNotifyMe},
    {"KickFakeCommandEdit", LangHintSameNumbers},
    {"KickProxyCommandEdit", LangHintProxyConnection},
    {"KickLimitCommandEdit", LangHintUploadLimit},
    {"KickCloneCommandEdit", LangHintClonedUsers},
    {"KickLimitBelowSpinEdit", LangHintOnlySpeedBelow},
    {"KickNickCommandEdit", LangHintNickPattern},
    {"KickIpCommandEdit", LangHintIpPattern},
    {"KickDescriptionCommandEdit", LangHintDescriptionPattern},
    {"KickEmailCommandEdit", LangHintEmailPattern},
    {"KickTagCommandEdit", LangHintTagPattern},
    {"KickShareCommandEdit", LangHintSharePattern},
    {"KickHubsCommandEdit", LangHintHubsCount},
    {"KickSameIpCommandEdit", LangHintSameIpConnections},
    {"RawFakeCheckBox", LangHintRawCheckBox},
    {"RawProxyCheckBox", LangHintRawCheckBox},
    {"RawCloneCheckBox", LangHintRawCheckBox},
    {"RawLimitCheckBox", LangHintRawCheckBox},
    {"RawHubsCheckBox", LangHintRawCheckBox},
    {"RawSameIpCheckBox", LangHintRawCheckBox},
    {"RawNickCheckBox", LangHintRawCheckBox},
    {"RawIpCheckBox", LangHintRawCheckBox},
    {"RawShareCheckBox", LangHintRawCheckBox},
    {"RawDescriptionCheckBox", LangHintRawCheckBox},
    {"RawEmailCheckBox", LangHintRawCheckBox},
    {"RawTagCheckBox", LangHintRawCheckBox},
    {"InfoBugLabel", LangHintBugReport},
    {"InfoFeatureLabel", LangHintFeatureRequest},
    {"InfoEmailLabel", LangHintContact},
    {"InfoWebsiteLabel", LangHintWebsite},
    {"MaximumCountSpinEdit", LangHintMaximumLines},
    {"ProtocolLinkLabel", LangHintProtocolCommands},
    {"KickToStatusCheckBox", LangHintStateKicks},
    {"OpChatEdit", LangHintOpChatNick},
    {"TryInfoCheckBox", LangHintTryMyInfo},
    {"KickNickListView", LangHintRightClick},
    {"KickIpListView", LangHintRightClick},
    {"KickDescriptionListView", LangHintRightClick},
    {"KickEmailListView", LangHintRightClick},
    {"KickTagListView", LangHintRightClick},
    {"KickShareListView", LangHintRightClick},
    {"UserListView", LangHintRightClick},
    {"AllowedListView", LangHintRightClick},
    {"ProtectedListView", LangHintRightClick},
    {"ChatMemo", LangHintRightClick},
    {"LogMemo", LangHintRightClick},
    {"StatusMemo", LangHintRightClick},
    {"AddPopup", LangWildcardsAvailable},
    {"IpUserPopup", LangHintIpInformation},
    {"KickUserPopup", LangHintKick},
    {"RedirectUserPopup", LangHintRedirect},
    {"PmUserPopup", LangHintPrivateMessage},
};

// Menu items.
const Binding kMenuCaptions[] = {
    {"AddPopup", LangAdd},
    {"EditPopup", LangEdit},
    {"DeletePopup", LangDelete},
    {"CopyPopup", LangCopy},
    {"CopyUserPopup", LangCopy},
    {"ClearPopup", LangClear},
    {"ScrollPopup", LangAutoScroll},
    {"SelectPopup", LangSelectAll},
    {"IpUserPopup", LangIpInformation},
    {"KickUserPopup", LangKick},
    {"RedirectUserPopup", LangRedirect},
    {"PmUserPopup", LangPrivateMessage},
    {"RefreshUserPopup", LangRefreshList},
    {"cUsernameUserPopup", LangUsername},
    {"cShareUserPopup", LangShareSize},
    {"cExactShareUserPopup", LangExactShareSize},
    {"cDescriptionUserPopup", LangDescription},
    {"cTagUserPopup", LangTag},
    {"cModeUserPopup", LangMode},
    {"cConnectionUserPopup", LangConnectionType},
    {"cStatusUserPopup", LangStatus},
    {"cEmailUserPopup", LangEmailAddress},
    {"cLimitUserPopup", LangUploadLimit},
    {"cIpUserPopup", LangIp},
    {"cAllUserPopup", LangAll},
    {"ShowTrayPopup", LangShow},
    {"ExitTrayPopup", LangExit},
    {"AddToAllowedUserPopup", LangMoveToAllowed},
    {"AddToProtectedUserPopup", LangMoveToProtected},
    {"AddOpChatUserPopup", LangAddOpChat},
};
// clang-format on

// The single column of each pattern and user list.
const Binding kListColumns[] = {
    {"KickNickListView", LangNickPattern},       {"KickIpListView", LangIpPattern},
    {"KickDescriptionListView", LangDescriptionPattern}, {"KickEmailListView", LangEmailPattern},
    {"KickTagListView", LangTagPattern},         {"KickShareListView", LangSharePattern},
    {"ProtectedListView", LangUsername},         {"AllowedListView", LangAllowedUsername},
};

// The fields whose hint tells their length.
const struct {
  const char* control;
  int length;
} kLengthHints[] = {
    {"UsernameEdit", 35}, {"PasswordEdit", 35}, {"DescriptionEdit", 50}, {"EmailAddressEdit", 50},
    {"HubIpEdit", 100},   {"HubPortEdit", 5},   {"BotMessageMemo", 1000},
};

void Apply(ControlModel& controls, const LangTable& lang, const Binding* bindings, std::size_t count, bool hint) {
  for (std::size_t i = 0; i < count; ++i) {
    Control& control = controls.Get(bindings[i].control);
    if (hint) {
      control.SetHint(lang.Text(bindings[i].key));
    } else {
      control.SetCaption(lang.Text(bindings[i].key));
    }
  }
}

}  // namespace

std::vector<std::string> UserListColumnTitles(const LangTable& lang) {
  return {lang.Text(LangUsername),       lang.Text(LangShareSize), lang.Text(LangExactShareSize),
          lang.Text(LangDescription),    lang.Text(LangTag),       lang.Text(LangMode),
          lang.Text(LangConnectionType), lang.Text(LangStatus),    lang.Text(LangEmailAddress),
          lang.Text(LangUploadLimit),    lang.Text(LangIp)};
}

void ApplyLanguage(ControlModel& controls, const LangTable& lang, bool connected) {
  Apply(controls, lang, kCaptions, std::size(kCaptions), false);
  Apply(controls, lang, kHints, std::size(kHints), true);
  Apply(controls, lang, kMenuCaptions, std::size(kMenuCaptions), false);
  Apply(controls, lang, kListColumns, std::size(kListColumns), false);
  controls.Get("UserListView").SetItems(UserListColumnTitles(lang));
  for (const auto& field : kLengthHints) {
    controls.Get(field.control).SetHint(lang.Format(LangCharacters, {std::to_string(field.length)}));
  }
  controls.Get("SendMemo").SetHint(lang.Format(LangHintSend, {"Return", "Ctrl+Shift"}));
  Control& mode = controls.Get("ModeComboBox");
  const int selected = mode.Value();
  mode.SetItems({lang.Text(LangPassive), lang.Text(LangActive)});
  mode.SetValue(selected);
  const std::string& connect = lang.Text(connected ? LangDisconnect : LangConnect);
  controls.Get("ConnectButton").SetCaption(connect);
  controls.Get("ConnectTrayPopup").SetCaption(connect);
}

}  // namespace varnek
