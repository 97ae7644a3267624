#include "core/commands/BotCommandTable.h"

#include <algorithm>

#include "core/model/ControlNames.h"
#include "core/model/DetectionTable.h"

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
    Switch("detects", ctl::kDetectionsCheckBox, LangDetectionsChanged, LangVnDetections),
    Switch("fake", ctl::kKickFakeCheckBox, LangFakeChanged, LangVnFake),
    Switch("proxy", ctl::kKickProxyCheckBox, LangProxyChanged, LangVnProxy),
    Switch("clone", ctl::kKickCloneCheckBox, LangCloneChanged, LangVnClone),
    Switch("limit", ctl::kKickLimitCheckBox, LangLimitChanged, LangVnLimit),
    Switch("below", ctl::kKickLimitBelowCheckBox, LangLimitBelowChanged, LangVnLimitBelow),
    Value("value", ctl::kKickLimitBelowSpinEdit, LangLimitValueChanged, 3, LangVnLimitValue),
    Switch("sameip", ctl::kKickSameIpCheckBox, LangSameIpChanged, LangVnSameIp),
    Switch("nick", ctl::kKickNickCheckBox, LangNickChanged, LangVnNick),
    List("lstnick", ctl::kKickNickListView, LangNickList, 4, LangVnNickList),
    Add("addnick", ctl::kKickNickListView, LangNickAdd, Spaces::Refused, kPatternArgument, 2, LangVnNickAdd),
    Delete("delnick", ctl::kKickNickListView, LangNickDelete, kPatternArgument, 2, LangVnNickDelete),
    Switch("ip", ctl::kKickIpCheckBox, LangIpChanged, LangVnIp),
    List("lsttip", ctl::kKickIpListView, LangIpList, 4, LangVnIpList),
    Add("addip", ctl::kKickIpListView, LangIpAdd, Spaces::Refused, kPatternArgument, 3, LangVnIpAdd),
    Delete("delip", ctl::kKickIpListView, LangIpDelete, kPatternArgument, 3, LangVnIpDelete),
    Switch("share", ctl::kKickShareCheckBox, LangShareChanged, LangVnShare),
    List("lstshare", ctl::kKickShareListView, LangShareList, 3, LangVnShareList),
    Add("addshare", ctl::kKickShareListView, LangShareAdd, Spaces::Refused, kPatternArgument, 2, LangVnShareAdd),
    Delete("delshare", ctl::kKickShareListView, LangShareDelete, kPatternArgument, 2, LangVnShareDelete),
    Switch("desc", ctl::kKickDescriptionCheckBox, LangDescriptionChanged, LangVnDescription),
    List("lstdesc", ctl::kKickDescriptionListView, LangDescriptionList, 4, LangVnDescriptionList),
    Add("adddesc", ctl::kKickDescriptionListView, LangDescriptionAdd, Spaces::Allowed, kPatternArgument, 2,
        LangVnDescriptionAdd),
    Delete("deldesc", ctl::kKickDescriptionListView, LangDescriptionDelete, kPatternArgument, 2,
           LangVnDescriptionDelete),
    Switch("email", ctl::kKickEmailCheckBox, LangEmailChanged, LangVnEmail),
    List("lstemail", ctl::kKickEmailListView, LangEmailList, 4, LangVnEmailList),
    Add("addemail", ctl::kKickEmailListView, LangEmailAdd, Spaces::Allowed, kPatternArgument, 2, LangVnEmailAdd),
    Delete("delemail", ctl::kKickEmailListView, LangEmailDelete, kPatternArgument, 2, LangVnEmailDelete),
    Switch("tag", ctl::kKickTagCheckBox, LangTagChanged, LangVnTag),
    List("lsttag", ctl::kKickTagListView, LangTagList, 4, LangVnTagList),
    Add("addtag", ctl::kKickTagListView, LangTagAdd, Spaces::Allowed, kPatternArgument, 2, LangVnTagAdd),
    Delete("deltag", ctl::kKickTagListView, LangTagDelete, kPatternArgument, 2, LangVnTagDelete),
    Switch("usrhubs", ctl::kKickUserHubsCheckBox, LangUserHubsChanged, LangVnUserHubs),
    Value("valusrhubs", ctl::kUserHubsSpinEdit, LangUserHubsValueChanged, 2, LangVnUserHubsValue),
    Switch("reghubs", ctl::kKickRegHubsCheckBox, LangRegHubsChanged, LangVnRegHubs),
    Value("valreghubs", ctl::kRegHubsSpinEdit, LangRegHubsValueChanged, 2, LangVnRegHubsValue),
    Switch("ophubs", ctl::kKickOpHubsCheckBox, LangOpHubsChanged, LangVnOpHubs),
    Value("valophubs", ctl::kOpHubsSpinEdit, LangOpHubsValueChanged, 2, LangVnOpHubsValue),
    Switch("prot", ctl::kProtectedUsersCheckBox, LangProtectedChanged, LangVnProtected),
    List("lstprot", ctl::kProtectedListView, LangProtectedList, 4, LangVnProtectedList),
    Add("addprot", ctl::kProtectedListView, LangProtectedAdd, Spaces::Refused, kUserArgument, 2, LangVnProtectedAdd),
    Delete("delprot", ctl::kProtectedListView, LangProtectedDelete, kUserArgument, 2, LangVnProtectedDelete),
    Switch("allow", ctl::kAllowedCheckBox, LangAllowedChanged, LangVnAllowed),
    List("lstallow", ctl::kAllowedListView, LangAllowedList, 4, LangVnAllowedList),
    Add("addallow", ctl::kAllowedListView, LangAllowedAdd, Spaces::Refused, kUserArgument, 2, LangVnAllowedAdd),
    Delete("delallow", ctl::kAllowedListView, LangAllowedDelete, kUserArgument, 2, LangVnAllowedDelete),
    Switch("opsallow", ctl::kCmdOpsCheckBox, LangOperatorsAllowed, LangVnOperatorsAllowed),
    Switch("opsprot", ctl::kProtectedOpsCheckBox, LangOperatorsProtected, LangVnOperatorsProtected),
    Switch("kickmes", ctl::kKickToStatusCheckBox, LangKickMessageChanged, LangVnKickMessage),
    {"info", K::Info, "", LangUserInfo, false, {kUserArgument, 3, LangVnUserInfo}},
    {"hits", K::Hits, "", LangPatternHits, false, {"", 4, LangVnHits}},
    {"test", K::Test, "", LangPatternMatches, false, {" <list> <pattern>", 2, LangVnTest}},
    {"why", K::Why, "", LangNoKickRecorded, false, {kUserArgument, 3, LangVnWhy}},
}};

constexpr std::array<std::string_view, kBotCommandCount> kHelpOrder = {
    "help",     "save",     "detects", "fake",       "proxy",    "clone",      "limit",    "below",
    "value",    "sameip",   "nick",    "lstnick",    "addnick",  "delnick",    "ip",       "lsttip",
    "addip",    "delip",    "share",   "lstshare",   "addshare", "delshare",   "desc",     "lstdesc",
    "adddesc",  "deldesc",  "email",   "lstemail",   "addemail", "delemail",   "tag",      "lsttag",
    "addtag",   "deltag",   "usrhubs", "valusrhubs", "reghubs",  "valreghubs", "ophubs",   "valophubs",
    "prot",     "opsprot",  "lstprot", "addprot",    "delprot",  "allow",      "opsallow", "lstallow",
    "addallow", "delallow", "kickmes", "info",       "hits",     "test",       "why",
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

constexpr int CommandsOn(std::string_view target, BotCommandKind kind) {
  return static_cast<int>(std::count_if(kCommands.begin(), kCommands.end(), [&](const BotCommand& command) {
    return command.kind == kind && command.target == target;
  }));
}

// The detections' commands stay written out here, as their order of testing
// and their help lines are the operators' own; the check keeps them with the
// detection table: one switch per kick switch, and for each forbidden pattern
// list one list, one add (refusing blanks as its list does) and one delete.
constexpr bool EveryDetectionHasItsCommands() {
  for (const DetectionRow& row : kDetectionRows) {
    if (row.HasKickSwitch() && CommandsOn(row.kickSwitch, K::Switch) != 1) {
      return false;
    }
    if (!row.HasPatternList()) {
      continue;
    }
    const std::string_view list = row.patterns.listView;
    if (CommandsOn(list, K::List) != 1 || CommandsOn(list, K::Add) != 1 || CommandsOn(list, K::Delete) != 1) {
      return false;
    }
    for (const BotCommand& command : kCommands) {
      if (command.kind == K::Add && command.target == list && command.spacesRefused != row.patterns.blanksRefused) {
        return false;
      }
    }
  }
  return true;
}
static_assert(EveryDetectionHasItsCommands(),
              "every detection's kick switch needs a switch command, every pattern list its lst, add and del commands");

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
