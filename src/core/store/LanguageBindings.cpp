// clang-format off
#include "core/model/ControlNames.h"
#include "core/model/DetectionTable.h"
#include "core/store/LanguageBindings.h"

namespace varnek {
namespace {

struct Binding {
  const char* control;
  LangKey key;
};

// Captions of pages, boxes, labels, buttons and switches.
const Binding kCaptions[] = {
    {ctl::kUserSettingsTabSheet, LangUserSettings},
    {ctl::kUserGroupBox, LangUser},
    {ctl::kUsernameLabel, LangUsername},
    {ctl::kPasswordLabel, LangPassword},
    {ctl::kDescriptionLabel, LangDescription},
    {ctl::kEmailAddressLabel, LangEmailAddress},
    {ctl::kModeLabel, LangMode},
    {ctl::kBotMessageGroupBox, LangBotMessage},
    {ctl::kResendMyInfoButton, LangResendMyInfo},
    {ctl::kClientSettingsTabSheet, LangClientSettings},
    {ctl::kChatGroupBox, LangChatSettings},
    {ctl::kChatPreviewPanel, LangPreview},
    {ctl::kChatFontColorButton, LangFontColor},
    {ctl::kChatColorButton, LangBackgroundColor},
    {ctl::kAlphaBlendGroupBox, LangAlphaBlend},
    {ctl::kAlphaBlendCheckBox, LangEnabled},
    {ctl::kUpdatesGroupBox, LangUpdates},
    {ctl::kLatestVersionLabel, LangLatestVersion},
    {ctl::kUpdatesNotifyCheckBox, LangNotifyMe},
    {ctl::kLangFileGroupBox, LangLanguageFile},
    {ctl::kLangFileButton, LangBrowse},
    {ctl::kLangReloadButton, LangReload},
    {ctl::kHubSettingsTabSheet, LangHubSettings},
    {ctl::kAddressGroupBox, LangAddress},
    {ctl::kHubIpLabel, LangIpDnsAddress},
    {ctl::kHubPortLabel, LangPortNumber},
    {ctl::kAutoConnectCheckBox, LangAutomaticallyConnect},
    {ctl::kKickLimitBelowCheckBox, LangOnlySpeedBelow},
    {ctl::kLimitFromConnectionCheckBox, LangLimitFromConnection},
    {ctl::kHubChatTabSheet, LangHubChat},
    {ctl::kSendButton, LangSend},
    {ctl::kLogTabSheet, LangDebugOutput},
    {ctl::kNoLogCheckBox, LangNothing},
    {ctl::kFullLogCheckBox, LangFullDebug},
    {ctl::kNiceLogCheckBox, LangNiceOutput},
    {ctl::kAboutTabSheet, LangAbout},
    {ctl::kInfoBugLabel, LangBugReport},
    {ctl::kInfoFeatureLabel, LangFeatureRequest},
    {ctl::kInfoEmailLabel, LangContact},
    {ctl::kInfoWebsiteLabel, LangWebsite},
    {ctl::kThanksGroupBox, LangThanks},
    {ctl::kHelpGroupBox, LangHelp},
    {ctl::kFaqGroupBox, LangFaq},
    {ctl::kReconnectButton, LangReconnect},
    {ctl::kMinimizeToTrayCheckBox, LangMinimizeToTray},
    {ctl::kExitButton, LangExit},
    {ctl::kStatisticsTabSheet, LangStatistics},
    {ctl::kaDetectionsTabSheet, LangDetections},
    {ctl::kbDetectionsTabSheet, LangDetections},
    {ctl::kReceivedLabel, LangReceived},
    {ctl::kSentLabel, LangSent},
    {ctl::kClearStatisticsButton, LangClear},
    {ctl::kDetectionsCheckBox, LangEnableDetections},
    {ctl::kProtectedUsersCheckBox, LangProtectedUsers},
    {ctl::kCommandSettingsTabSheet, LangCommandSettings},
    {ctl::kCmdOpsCheckBox, LangAllowOperators},
    {ctl::kAllowedCheckBox, LangAllowedUsers},
    {ctl::kTriggerLabel, LangTrigger},
    {ctl::kProtectedOpsCheckBox, LangProtectOperators},
    {ctl::kAutosaveCheckBox, LangAutomaticallySaveSettings},
    {ctl::kMinutesLabel, LangMinutes},
    {ctl::kMinsLabel, LangMinutes},
    {ctl::kAutomaticGroupBox, LangAutomaticSettings},
    {ctl::kSaveSettingsButton, LangSaveSettings},
    {ctl::kDetectionSettingsTabSheet, LangDetectionSettings},
    {ctl::kKickToStatusCheckBox, LangSendKickMessage},
    {ctl::kKickUserHubsCheckBox, LangUserHubsCount},
    {ctl::kKickRegHubsCheckBox, LangRegisteredHubsCount},
    {ctl::kKickOpHubsCheckBox, LangOperatorHubsCount},
    {ctl::kLoggingGroupBox, LangLoggingToFile},
    {ctl::kLogStatusCheckBox, LangLogStatusMessages},
    {ctl::kLogChatCheckBox, LangLogHubChat},
    {ctl::kLogDebugCheckBox, LangLogDebugOutput},
    {ctl::kTimestampsCheckBox, LangShowTimeStamps},
    {ctl::kTimestampsDateCheckBox, LangShowDate},
    {ctl::kLinesCountCheckBox, LangMaximumLinesCount},
    {ctl::kStatusTabSheet, LangStatusOutput},
    {ctl::kLoadCommandsButton, LangLoadCommands},
    {ctl::kLoadRawCommandsButton, LangLoadRawCommands},
    {ctl::kProtocolLinkLabel, LangProtocolCommands},
    {ctl::kOpChatLabel, LangOpChatNick},
    {ctl::kMessageCheckBox, LangEnabled},
    {ctl::kTryInfoCheckBox, LangTryMyInfo},
    {ctl::kInfoGroupBox, LangUserInfo},
    {ctl::kVersionButton, LangCheckNow},
    {ctl::kChatPreviewLabel, LangChatPreviewSample},
    {ctl::kEncodingLabel, LangHubEncoding},
    {ctl::kNotifyGroupBox, LangNotifications},
    {ctl::kNotifyPrivateCheckBox, LangNotifyPrivateMessages},
    {ctl::kNotifyKickCheckBox, LangNotifyKicks},
    {ctl::kNotifyDisconnectCheckBox, LangNotifyConnectionLost},
    {ctl::kLogKicksCheckBox, LangLogKicks},
};

// Tool tips.
const Binding kHints[] = {
    {ctl::kResendMyInfoButton, LangHintResendMyInfo},
    {ctl::kUserImage, LangHintUserIcons},
    {ctl::kAlphaBlendCheckBox, LangHintAlphaBlend},
    {ctl::kAlphaBlendTrackBar, LangHintTransparency},
    {ctl::kLatestLabel, LangHintLatestVersion},
    {ctl::kUpdatesNotifyCheckBox, LangHintNotifyMe},
    {ctl::kKickLimitBelowSpinEdit, LangHintOnlySpeedBelow},
    {ctl::kLimitFromConnectionCheckBox, LangHintLimitFromConnection},
    {ctl::kInfoBugLabel, LangHintBugReport},
    {ctl::kInfoFeatureLabel, LangHintFeatureRequest},
    {ctl::kInfoEmailLabel, LangHintContact},
    {ctl::kInfoWebsiteLabel, LangHintWebsite},
    {ctl::kMaximumCountSpinEdit, LangHintMaximumLines},
    {ctl::kProtocolLinkLabel, LangHintProtocolCommands},
    {ctl::kKickToStatusCheckBox, LangHintStateKicks},
    {ctl::kOpChatEdit, LangHintOpChatNick},
    {ctl::kTryInfoCheckBox, LangHintTryMyInfo},
    {ctl::kNotifyGroupBox, LangHintNotifications},
    {ctl::kLogKicksCheckBox, LangHintLogKicks},
    {ctl::kUserListView, LangHintRightClick},
    {ctl::kAllowedListView, LangHintRightClick},
    {ctl::kProtectedListView, LangHintRightClick},
    {ctl::kChatMemo, LangHintRightClick},
    {ctl::kLogMemo, LangHintRightClick},
    {ctl::kStatusMemo, LangHintRightClick},
    {ctl::kAddPopup, LangWildcardsAvailable},
    {ctl::kIpUserPopup, LangHintIpInformation},
    {ctl::kKickUserPopup, LangHintKick},
    {ctl::kRedirectUserPopup, LangHintRedirect},
    {ctl::kPmUserPopup, LangHintPrivateMessage},
    {ctl::kbDetectionsTabSheet, LangHintPatternLists},
};

// Menu items.
const Binding kMenuCaptions[] = {
    {ctl::kAddPopup, LangAdd},
    {ctl::kEditPopup, LangEdit},
    {ctl::kDeletePopup, LangDelete},
    {ctl::kCopyPopup, LangCopy},
    {ctl::kCopyUserPopup, LangCopy},
    {ctl::kClearPopup, LangClear},
    {ctl::kScrollPopup, LangAutoScroll},
    {ctl::kSelectPopup, LangSelectAll},
    {ctl::kIpUserPopup, LangIpInformation},
    {ctl::kKickUserPopup, LangKick},
    {ctl::kRedirectUserPopup, LangRedirect},
    {ctl::kPmUserPopup, LangPrivateMessage},
    {ctl::kRefreshUserPopup, LangRefreshList},
    {ctl::kcUsernameUserPopup, LangUsername},
    {ctl::kcShareUserPopup, LangShareSize},
    {ctl::kcExactShareUserPopup, LangExactShareSize},
    {ctl::kcDescriptionUserPopup, LangDescription},
    {ctl::kcTagUserPopup, LangTag},
    {ctl::kcModeUserPopup, LangMode},
    {ctl::kcConnectionUserPopup, LangConnectionType},
    {ctl::kcStatusUserPopup, LangStatus},
    {ctl::kcEmailUserPopup, LangEmailAddress},
    {ctl::kcLimitUserPopup, LangUploadLimit},
    {ctl::kcIpUserPopup, LangIp},
    {ctl::kcAllUserPopup, LangAll},
    {ctl::kShowTrayPopup, LangShow},
    {ctl::kExitTrayPopup, LangExit},
    {ctl::kAddToAllowedUserPopup, LangMoveToAllowed},
    {ctl::kAddToProtectedUserPopup, LangMoveToProtected},
    {ctl::kAddOpChatUserPopup, LangAddOpChat},
};
// clang-format on

// The single column of each list of users; the forbidden pattern lists
// take theirs from their detections' rows.
const Binding kListColumns[] = {
    {ctl::kProtectedListView, LangUsername},
    {ctl::kAllowedListView, LangAllowedUsername},
};

// The fields whose hint tells their length, which is the field's own typing
// limit in the control table.
constexpr const char* kLengthHints[] = {
    ctl::kUsernameEdit, ctl::kPasswordEdit, ctl::kDescriptionEdit, ctl::kEmailAddressEdit,
    ctl::kHubIpEdit,    ctl::kHubPortEdit,  ctl::kBotMessageMemo,
};

// Each detection's kick switch caption, template hint and raw switch hint,
// and for a pattern detection its list's column and hint.
void ApplyDetections(ControlModel& controls, const LangTable& lang) {
  for (const DetectionRow& row : kDetectionRows) {
    if (row.HasKickSwitch()) {
      controls.Get(row.kickSwitch).SetCaption(lang.Text(row.caption));
    }
    controls.Get(row.commandEdit).SetHint(lang.Text(row.hint));
    controls.Get(row.rawSwitch).SetHint(lang.Text(LangHintRawCheckBox));
    if (row.HasPatternList()) {
      Control& list = controls.Get(row.patterns.listView);
      list.SetCaption(lang.Plain(row.patterns.prompt));
      list.SetHint(lang.Text(LangHintRightClick));
    }
  }
}

enum class Facet { Caption, Hint, Title };

// A title (a list's column) shows no Alt key, so its "&" is left out.
void Apply(ControlModel& controls, const LangTable& lang, const Binding* bindings, std::size_t count, Facet facet) {
  for (std::size_t i = 0; i < count; ++i) {
    Control& control = controls.Get(bindings[i].control);
    if (facet == Facet::Hint) {
      control.SetHint(lang.Text(bindings[i].key));
    } else {
      control.SetCaption(facet == Facet::Title ? lang.Plain(bindings[i].key) : lang.Text(bindings[i].key));
    }
  }
}

}  // namespace

std::vector<std::string> UserListColumnTitles(const LangTable& lang) {
  return {lang.Plain(LangUsername),       lang.Plain(LangShareSize), lang.Plain(LangExactShareSize),
          lang.Plain(LangDescription),    lang.Plain(LangTag),       lang.Plain(LangMode),
          lang.Plain(LangConnectionType), lang.Plain(LangStatus),    lang.Plain(LangEmailAddress),
          lang.Plain(LangUploadLimit),    lang.Plain(LangIp)};
}

void ApplyLanguage(ControlModel& controls, const LangTable& lang, bool connected) {
  Apply(controls, lang, kCaptions, std::size(kCaptions), Facet::Caption);
  Apply(controls, lang, kHints, std::size(kHints), Facet::Hint);
  Apply(controls, lang, kMenuCaptions, std::size(kMenuCaptions), Facet::Caption);
  Apply(controls, lang, kListColumns, std::size(kListColumns), Facet::Title);
  ApplyDetections(controls, lang);
  controls.Get(ctl::kUserListView).SetItems(UserListColumnTitles(lang));
  for (const char* name : kLengthHints) {
    Control& field = controls.Get(name);
    field.SetHint(lang.Format(LangCharacters, {std::to_string(field.TypingLimit())}));
  }
  controls.Get(ctl::kSendMemo).SetHint(lang.Format(LangHintSend, {"Return", "Ctrl+Shift"}));
  Control& mode = controls.Get(ctl::kModeComboBox);
  const int selected = mode.Value();
  mode.SetItems({lang.Text(LangPassive), lang.Text(LangActive)});
  mode.SetValue(selected);
  controls.Get(ctl::kCopyrightLabel).SetCaption(lang.Text(LangCopyrightLine));
  controls.Get(ctl::kThanksMemo).SetText(lang.Text(LangThanksText));
  const std::string& connect = lang.Text(connected ? LangDisconnect : LangConnect);
  controls.Get(ctl::kConnectButton).SetCaption(connect);
  controls.Get(ctl::kConnectTrayPopup).SetCaption(connect);
}

}  // namespace varnek
