#include "core/commands/BotCommandTable.h"

#include <algorithm>

namespace varnek {
namespace {

using K = BotCommandKind;

constexpr std::string_view kSwitchArgument = " <1/0>";
constexpr std::string_view kValueArgument = " <value>";
constexpr std::string_view kPatternArgument = " <pattern>";
constexpr std::string_view kUserArgument = " <username>";

constexpr BotCommand Switch(std::string_view keyword, std::string_view checkBox, LangKey message, LangKey description) {
  return {keyword, K::Switch, checkBox, message, false, {kSwitchArgument, 3, description}};
}

constexpr BotCommand Value(std::string_view keyword, std::string_view spinEdit, LangKey message, int tabs,
                           LangKey description) {
  return {keyword, K::Value, spinEdit, message, false, {kValueArgument, tabs, description}};
}

constexpr BotCommand List(std::string_view keyword, std::string_view listView, LangKey title, int tabs,
                          LangKey description) {
  return {keyword, K::List, listView, title, false, {"", tabs, description}};
}

enum class Spaces { Refused, Allowed };

constexpr BotCommand Add(std::string_view keyword, std::string_view listView, LangKey message, Spaces spaces,
                         std::string_view argument, int tabs, LangKey description) {
  return {keyword, K::Add, listView, message, spaces == Spaces::Refused, {argument, tabs, description}};
}

constexpr BotCommand Delete(std::string_view keyword, std::string_view listView, LangKey message,
                            std::string_view argument, int tabs, LangKey description) {
  return {keyword, K::Delete, listView, message, false, {argument, tabs, description}};
}

// The keywords are fixed: a language file changes the texts, never these.
// "lsttip" is spelt with two t's and always has been; hub operators type it.
constexpr std::array<BotCommand, kBotCommandCount> kCommands = {{
    {"help", K::Help, "", LangAvailableBotCommands, false, {"", 4, LangVnHelp}},
    {"save", K::Save, "", LangSavedSettings, false, {"", 4, LangVnSettings}},
    Switch("detects", "DetectionsCheckBox", LangDetectionsChanged, LangVnDetections),
    Switch("fake", "KickFakeCheckBox", LangFakeChanged, LangVnFake),
    Switch("proxy", "KickProxyCheckBox", LangProxyChanged, LangVnProxy),
    Switch("clone", "KickCloneCheckBox", LangCloneChanged, LangVnClone),
    Switch("limit", "KickLimitCheckBox", LangLimitChanged, LangVnLimit),
    Switch("below", "KickLimitBelowCheckBox", LangLimitBelowChanged, LangVnLimitBelow),
    Value("value", "KickLimitBelowSpinEdit", LangLimitValueChanged, 3, LangVnLimitValue),
    Switch("sameip", "KickSameIpCheckBox", LangSameIpChanged, LangVnSameIp),
    Switch("nick", "KickNickCheckBox", LangNickChanged, LangVnNick),
    List("lstnick", "KickNickListView", LangNickList, 4, LangVnNickList),
    Add("addnick", "KickNickListView", LangNickAdd, Spaces::Refused, kPatternArgument, 2, LangVnNickAdd),
    Delete("delnick", "KickNickListView", LangNickDelete, kPatternArgument, 2, LangVnNickDelete),
    Switch("ip", "KickIpCheckBox", LangIpChanged, LangVnIp),
    List("lsttip", "KickIpListView", LangIpList, 4, LangVnIpList),
    Add("addip", "KickIpListView", LangIpAdd, Spaces::Refused, kPatternArgument, 3, LangVnIpAdd),
    Delete("delip", "KickIpListView", LangIpDelete, kPatternArgument, 3, LangVnIpDelete),
    Switch("share", "KickShareCheckBox", LangShareChanged, LangVnShare),
    List("lstshare", "KickShareListView", LangShareList, 3, LangVnShareList),
    Add("addshare", "KickShareListView", LangShareAdd, Spaces::Refused, kPatternArgument, 2, LangVnShareAdd),
    Delete("delshare", "KickShareListView", LangShareDelete, kPatternArgument, 2, LangVnShareDelete),
    Switch("desc", "KickDescriptionCheckBox", LangDescriptionChanged, LangVnDescription),
    List("lstdesc", "KickDescriptionListView", LangDescriptionList, 4, LangVnDescriptionList),
    Add("adddesc", "KickDescriptionListView", LangDescriptionAdd, Spaces::Allowed, kPatternArgument, 2,
        LangVnDescriptionAdd),
    Delete("deldesc", "KickDescriptionListView", LangDescriptionDelete, kPatternArgument, 2, LangVnDescriptionDelete),
    Switch("email", "KickEmailCheckBox", LangEmailChanged, LangVnEmail),
    List("lstemail", "KickEmailListView", LangEmailList, 4, LangVnEmailList),
    Add("addemail", "KickEmailListView", LangEmailAdd, Spaces::Allowed, kPatternArgument, 2, LangVnEmailAdd),
    Delete("delemail", "KickEmailListView", LangEmailDelete, kPatternArgument, 2, LangVnEmailDelete),
    Switch("tag", "KickTagCheckBox", LangTagChanged, LangVnTag),
    List("lsttag", "KickTagListView", LangTagList, 4, LangVnTagList),
    Add("addtag", "KickTagListView", LangTagAdd, Spaces::Allowed, kPatternArgument, 2, LangVnTagAdd),
    Delete("deltag", "KickTagListView", LangTagDelete, kPatternArgument, 2, LangVnTagDelete),
    Switch("usrhubs", "KickUserHubsCheckBox", LangUserHubsChanged, LangVnUserHubs),
    Value("valusrhubs", "UserHubsSpinEdit", LangUserHubsValueChanged, 2, LangVnUserHubsValue),
    Switch("reghubs", "KickRegHubsCheckBox", LangRegHubsChanged, LangVnRegHubs),
    Value("valreghubs", "RegHubsSpinEdit", LangRegHubsValueChanged, 2, LangVnRegHubsValue),
    Switch("ophubs", "KickOpHubsCheckBox", LangOpHubsChanged, LangVnOpHubs),
    Value("valophubs", "OpHubsSpinEdit", LangOpHubsValueChanged, 2, LangVnOpHubsValue),
    Switch("prot", "ProtectedUsersCheckBox", LangProtectedChanged, LangVnProtected),
    List("lstprot", "ProtectedListView", LangProtectedList, 4, LangVnProtectedList),
    Add("addprot", "ProtectedListView", LangProtectedAdd, Spaces::Refused, kUserArgument, 2, LangVnProtectedAdd),
    Delete("delprot", "ProtectedListView", LangProtectedDelete, kUserArgument, 2, LangVnProtectedDelete),
    Switch("allow", "AllowedCheckBox", LangAllowedChanged, LangVnAllowed),
    List("lstallow", "AllowedListView", LangAllowedList, 4, LangVnAllowedList),
    Add("addallow", "AllowedListView", LangAllowedAdd, Spaces::Refused, kUserArgument, 2, LangVnAllowedAdd),
    Delete("delallow", "AllowedListView", LangAllowedDelete, kUserArgument, 2, LangVnAllowedDelete),
    Switch("opsallow", "CmdOpsCheckBox", LangOperatorsAllowed, LangVnOperatorsAllowed),
    Switch("opsprot", "ProtectedOpsCheckBox", LangOperatorsProtected, LangVnOperatorsProtected),
    Switch("kickmes", "KickToStatusCheckBox", LangKickMessageChanged, LangVnKickMessage),
    {"info", K::Info, "", LangUserInfo, false, {kUserArgument, 3, LangVnUserInfo}},
}};

constexpr std::array<std::string_view, kBotCommandCount> kHelpOrder = {
    "help",     "save",       "detects",  "fake",      "proxy",    "clone",   "limit",   "below",   "value",
    "sameip",   "nick",       "lstnick",  "addnick",   "delnick",  "ip",      "lsttip",  "addip",   "delip",
    "share",    "lstshare",   "addshare", "delshare",  "desc",     "lstdesc", "adddesc", "deldesc", "email",
    "lstemail", "addemail",   "delemail", "tag",       "lsttag",   "addtag",  "deltag",  "usrhubs", "valusrhubs",
    "reghubs",  "valreghubs", "ophubs",   "valophubs", "prot",     "opsprot", "lstprot", "addprot", "delprot",
    "allow",    "opsallow",   "lstallow", "addallow",  "delallow", "kickmes", "info",
};

// Distinct keywords, each named once in the help order: then the help order
// is a permutation of the table and every help line finds its command.
constexpr bool HelpOrderNamesEveryCommandOnce() {
  for (const BotCommand& command : kCommands) {
    const auto sameKeyword = [&command](const BotCommand& other) { return other.keyword == command.keyword; };
    if (std::count_if(kCommands.begin(), kCommands.end(), sameKeyword) != 1 ||
        std::count(kHelpOrder.begin(), kHelpOrder.end(), command.keyword) != 1) {
      return false;
    }
  }
  return true;
}
static_assert(HelpOrderNamesEveryCommandOnce(), "the help order must list every bot command exactly once");

}  // namespace

const std::array<BotCommand, kBotCommandCount>& BotCommandTable() {
  return kCommands;
}

const std::array<std::string_view, kBotCommandCount>& BotCommandHelpOrder() {
  return kHelpOrder;
}

const BotCommand* FindBotCommand(std::string_view keyword) {
  auto hit = std::find_if(kCommands.begin(), kCommands.end(),
                          [keyword](const BotCommand& command) { return command.keyword == keyword; });
  return hit == kCommands.end() ? nullptr : &*hit;
}

}  // namespace varnek
