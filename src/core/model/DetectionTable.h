#pragma once

// The detections, one row each: what a detection is called, its controls,
// its texts and, for a pattern detection, its list. The control table, the
// enabling rules, the kick templates, the captions and hints, the pattern
// list tables, the detection chain and the window's detection pages read
// these rows; a check below refuses a row that names its controls otherwise
// than its kind, so a control table, a page and a chain built from the rows
// cannot disagree on a name.

#include <array>
#include <cstddef>
#include <string_view>

#include "core/model/ControlNames.h"
#include "core/model/UserColumns.h"
#include "core/text/LangKeys.h"

namespace varnek {

// The twelve detections, in the order of their templates in the control
// table. Count stays last.
enum class DetectionKind { Fake, Proxy, Clone, Limit, Nick, Ip, Description, Email, Tag, Share, Hubs, SameIp, Count };

constexpr std::size_t kDetectionKindCount = static_cast<std::size_t>(DetectionKind::Count);

constexpr std::size_t IndexOf(DetectionKind kind) {
  return static_cast<std::size_t>(kind);
}

// The forbidden pattern list of a detection that matches one of the user's
// texts against the operator's patterns.
struct DetectionPatternList {
  const char* listView = nullptr;            // null: the detection has no list
  const char* section = nullptr;             // its section in Varnek.ini
  std::string_view commandName;              // "nick" in lstnick, addnick, delnick, %hits and %test
  UserColumn column = UserColumn::Username;  // what %test and the pattern dialog match it against
  bool blanksRefused = false;                // the add command and the dialog refuse a blank
  LangKey prompt = LangKeyCount;             // the dialog's prompt and the list's column caption
};

struct DetectionRow {
  DetectionKind kind;
  const char* name;        // settings keys Kick<name>, Command<name>, Raw<name>; the kick log's name
  const char* kickSwitch;  // empty for Hubs, whose three counts have switches of their own
  const char* commandEdit;
  const char* rawSwitch;
  const char* placeholder;  // besides <nick> and <mynick>; empty for Proxy
  const char* reason;       // why the user is kicked, as every default template says it
  LangKey caption;          // the kick switch's caption (none for Hubs)
  LangKey hint;             // the template's hint
  LangKey found;            // the chat line of a detection that fired
  DetectionPatternList patterns = {};

  // Tested by the texts, not by comparing pointers with null: GCC cannot
  // evaluate that for a named array at compile time under its sanitizers.
  constexpr bool HasKickSwitch() const { return kickSwitch[0] != '\0'; }
  constexpr bool HasPatternList() const { return !patterns.commandName.empty(); }
};

// clang-format off
inline constexpr std::array<DetectionRow, kDetectionKindCount> kDetectionRows = {{
    {DetectionKind::Fake, "Fake", ctl::kKickFakeCheckBox, ctl::kKickFakeCommandEdit, ctl::kRawFakeCheckBox,
     "<fake>", "Fake share: <fake> B", LangSameNumbers, LangHintSameNumbers, LangFakeUserFound},
    {DetectionKind::Proxy, "Proxy", ctl::kKickProxyCheckBox, ctl::kKickProxyCommandEdit, ctl::kRawProxyCheckBox,
     "", "Proxy connection", LangProxyConnections, LangHintProxyConnection, LangProxyUserFound},
    {DetectionKind::Clone, "Clone", ctl::kKickCloneCheckBox, ctl::kKickCloneCommandEdit, ctl::kRawCloneCheckBox,
     "<clone>", "Clone of <clone>", LangClonedUsers, LangHintClonedUsers, LangCloneUserFound},
    {DetectionKind::Limit, "Limit", ctl::kKickLimitCheckBox, ctl::kKickLimitCommandEdit, ctl::kRawLimitCheckBox,
     "<limit>", "Upload limit: <limit> KiB/s", LangUploadLimit, LangHintUploadLimit, LangLimitUserFound},
    {DetectionKind::Nick, "Nick", ctl::kKickNickCheckBox, ctl::kKickNickCommandEdit, ctl::kRawNickCheckBox,
     "<nickpat>", "Forbidden nick pattern: <nickpat>", LangForbiddenNick, LangHintNickPattern, LangNickUserFound,
     {ctl::kKickNickListView, "Nick patterns", "nick", UserColumn::Username, true, LangNickPattern}},
    {DetectionKind::Ip, "Ip", ctl::kKickIpCheckBox, ctl::kKickIpCommandEdit, ctl::kRawIpCheckBox,
     "<ippat>", "Forbidden IP pattern: <ippat>", LangForbiddenIp, LangHintIpPattern, LangIpUserFound,
     {ctl::kKickIpListView, "IP patterns", "ip", UserColumn::Ip, true, LangIpPattern}},
    {DetectionKind::Description, "Description", ctl::kKickDescriptionCheckBox, ctl::kKickDescriptionCommandEdit,
     ctl::kRawDescriptionCheckBox, "<descpat>", "Forbidden description pattern: <descpat>", LangForbiddenDescription,
     LangHintDescriptionPattern, LangDescriptionUserFound,
     {ctl::kKickDescriptionListView, "Description patterns", "desc", UserColumn::Description, false,
      LangDescriptionPattern}},
    {DetectionKind::Email, "Email", ctl::kKickEmailCheckBox, ctl::kKickEmailCommandEdit, ctl::kRawEmailCheckBox,
     "<emailpat>", "Forbidden email pattern: <emailpat>", LangForbiddenEmail, LangHintEmailPattern,
     LangEmailUserFound,
     {ctl::kKickEmailListView, "Email patterns", "email", UserColumn::Email, false, LangEmailPattern}},
    {DetectionKind::Tag, "Tag", ctl::kKickTagCheckBox, ctl::kKickTagCommandEdit, ctl::kRawTagCheckBox,
     "<tagpat>", "Forbidden tag pattern: <tagpat>", LangForbiddenTag, LangHintTagPattern, LangTagUserFound,
     {ctl::kKickTagListView, "Tag patterns", "tag", UserColumn::Tag, false, LangTagPattern}},
    {DetectionKind::Share, "Share", ctl::kKickShareCheckBox, ctl::kKickShareCommandEdit, ctl::kRawShareCheckBox,
     "<share>", "Forbidden share size pattern: <share> B", LangForbiddenShare, LangHintSharePattern,
     LangShareUserFound,
     {ctl::kKickShareListView, "Share patterns", "share", UserColumn::ExactShareSize, true, LangSharePattern}},
    {DetectionKind::Hubs, "Hubs", "", ctl::kKickHubsCommandEdit, ctl::kRawHubsCheckBox,
     "<hubs>", "Too high hubs count: <hubs>", LangKeyCount, LangHintHubsCount, LangHubsUserFound},
    {DetectionKind::SameIp, "SameIp", ctl::kKickSameIpCheckBox, ctl::kKickSameIpCommandEdit, ctl::kRawSameIpCheckBox,
     "<sameip>", "Connection from same IP as <sameip>", LangConnectionsFromSameIp, LangHintSameIpConnections,
     LangSameIpUserFound},
}};
// clang-format on

constexpr const DetectionRow& DetectionRowOf(DetectionKind kind) {
  return kDetectionRows[IndexOf(kind)];
}

// The pattern detections in table order, which is the order "hits" shows
// their lists in.
constexpr std::size_t CountPatternDetections() {
  std::size_t count = 0;
  for (const DetectionRow& row : kDetectionRows) {
    count += row.HasPatternList() ? 1 : 0;
  }
  return count;
}
constexpr std::size_t kPatternDetectionCount = CountPatternDetections();

constexpr std::array<DetectionKind, kPatternDetectionCount> PatternDetectionKinds() {
  std::array<DetectionKind, kPatternDetectionCount> kinds{};
  std::size_t next = 0;
  for (const DetectionRow& row : kDetectionRows) {
    if (row.HasPatternList()) {
      kinds[next++] = row.kind;
    }
  }
  return kinds;
}
inline constexpr std::array<DetectionKind, kPatternDetectionCount> kPatternDetectionKinds = PatternDetectionKinds();

// Each kind's place in kPatternDetectionKinds; kPatternDetectionCount for a
// detection without a list.
constexpr std::array<std::size_t, kDetectionKindCount> PatternIndexes() {
  std::array<std::size_t, kDetectionKindCount> indexes{};
  indexes.fill(kPatternDetectionCount);
  for (std::size_t i = 0; i < kPatternDetectionKinds.size(); ++i) {
    indexes[IndexOf(kPatternDetectionKinds[i])] = i;
  }
  return indexes;
}
inline constexpr std::array<std::size_t, kDetectionKindCount> kPatternIndexes = PatternIndexes();

constexpr std::size_t PatternIndexOf(DetectionKind kind) {
  return kPatternIndexes[IndexOf(kind)];
}

// The order in which the detections run: those of a $MyINFO, then those of a
// $UserIP entry. The first that kicks ends the command's handling, so the
// order decides which detection a user is kicked for.
inline constexpr DetectionKind kMyInfoChain[] = {
    DetectionKind::Clone,       DetectionKind::Fake,  DetectionKind::Proxy, DetectionKind::Limit, DetectionKind::Nick,
    DetectionKind::Description, DetectionKind::Email, DetectionKind::Tag,   DetectionKind::Share, DetectionKind::Hubs,
};
inline constexpr DetectionKind kUserIpChain[] = {DetectionKind::Ip, DetectionKind::SameIp};

namespace detection_table_checks {

// Every detection runs, in exactly one of the two chains.
constexpr bool EveryKindRunsOnce() {
  for (const DetectionRow& row : kDetectionRows) {
    int runs = 0;
    for (DetectionKind kind : kMyInfoChain) {
      runs += kind == row.kind ? 1 : 0;
    }
    for (DetectionKind kind : kUserIpChain) {
      runs += kind == row.kind ? 1 : 0;
    }
    if (runs != 1) {
      return false;
    }
  }
  return true;
}
static_assert(EveryKindRunsOnce(), "every detection must have one place in kMyInfoChain or kUserIpChain");

constexpr bool Is(const char* text, std::string_view prefix, std::string_view name, std::string_view suffix) {
  const std::string_view whole = text;
  return whole.size() == prefix.size() + name.size() + suffix.size() && whole.starts_with(prefix) &&
         whole.substr(prefix.size()).starts_with(name) && whole.ends_with(suffix);
}

// Every row sits at its kind's place and names its controls after its kind:
// Kick<name>CheckBox, Kick<name>CommandEdit, Raw<name>CheckBox and, for a
// pattern detection, Kick<name>ListView.
constexpr bool RowsMatchTheirKinds() {
  for (std::size_t i = 0; i < kDetectionRows.size(); ++i) {
    const DetectionRow& row = kDetectionRows[i];
    if (IndexOf(row.kind) != i || !Is(row.commandEdit, "Kick", row.name, "CommandEdit") ||
        !Is(row.rawSwitch, "Raw", row.name, "CheckBox") ||
        (row.HasKickSwitch() && !Is(row.kickSwitch, "Kick", row.name, "CheckBox")) ||
        (row.HasKickSwitch() && row.caption == LangKeyCount) || row.hint == LangKeyCount) {
      return false;
    }
    if (row.HasPatternList() &&
        (!Is(row.patterns.listView, "Kick", row.name, "ListView") || std::string_view(row.patterns.section).empty() ||
         row.patterns.commandName.empty() || row.patterns.prompt == LangKeyCount)) {
      return false;
    }
  }
  return true;
}
static_assert(RowsMatchTheirKinds(),
              "each detection row sits at its kind's place and names its controls, texts and list after its kind");

}  // namespace detection_table_checks

}  // namespace varnek
