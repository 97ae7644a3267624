#include "core/model/KickTemplates.h"

#include <string>

#include "core/model/ControlModel.h"

namespace varnek {
namespace {

// Said in main chat: the hub's kick command with the reason.
std::string PlainDefault(const std::string& reason) {
  return "!kick <nick> [auto kick] " + reason;
}

// Sent as it stands: a private note to the user, the kick message in main
// chat and the hub's kick command, each with the reason.
std::string RawDefault(const std::string& reason) {
  return "$To: <nick> From: <mynick> $<<mynick>> [auto kick] " + reason +
         "|<<mynick>> is kicking <nick> because: " + reason + "|<<mynick>> !kick <nick> " + reason + "|";
}

// One detection, its default templates built from its reason.
KickKindInfo Kind(DetectionKind kind, const char* name, bool sharedSwitches, const char* placeholder, LangKey hintKey,
                  const char* reason) {
  return {kind, name, sharedSwitches, placeholder, hintKey, reason, PlainDefault(reason), RawDefault(reason)};
}

void LoadDefaults(ControlModel& controls, bool raw) {
  for (const KickKindInfo& kind : KickKinds()) {
    controls.Get(RawSwitchName(kind)).SetChecked(raw);
    controls.Get(CommandEditName(kind)).SetText(raw ? kind.rawDefault : kind.plainDefault);
  }
}

}  // namespace

// Built on first use: the defaults are made at run time, and a global table
// of them might be asked for by another table before it was made.
const std::array<KickKindInfo, kDetectionKindCount>& KickKinds() {
  static const std::array<KickKindInfo, kDetectionKindCount> kinds = {
      Kind(DetectionKind::Fake, "Fake", false, "<fake>", LangHintSameNumbers, "Fake share: <fake> B"),
      Kind(DetectionKind::Proxy, "Proxy", false, "", LangHintProxyConnection, "Proxy connection"),
      Kind(DetectionKind::Clone, "Clone", false, "<clone>", LangHintClonedUsers, "Clone of <clone>"),
      Kind(DetectionKind::Limit, "Limit", false, "<limit>", LangHintUploadLimit, "Upload limit: <limit> KiB/s"),
      Kind(DetectionKind::Nick, "Nick", false, "<nickpat>", LangHintNickPattern, "Forbidden nick pattern: <nickpat>"),
      Kind(DetectionKind::Ip, "Ip", false, "<ippat>", LangHintIpPattern, "Forbidden IP pattern: <ippat>"),
      Kind(DetectionKind::Description, "Description", false, "<descpat>", LangHintDescriptionPattern,
           "Forbidden description pattern: <descpat>"),
      Kind(DetectionKind::Email, "Email", false, "<emailpat>", LangHintEmailPattern,
           "Forbidden email pattern: <emailpat>"),
      Kind(DetectionKind::Tag, "Tag", false, "<tagpat>", LangHintTagPattern, "Forbidden tag pattern: <tagpat>"),
      Kind(DetectionKind::Share, "Share", false, "<share>", LangHintSharePattern,
           "Forbidden share size pattern: <share> B"),
      Kind(DetectionKind::Hubs, "Hubs", true, "<hubs>", LangHintHubsCount, "Too high hubs count: <hubs>"),
      Kind(DetectionKind::SameIp, "SameIp", false, "<sameip>", LangHintSameIpConnections,
           "Connection from same IP as <sameip>"),
  };
  return kinds;
}

const KickKindInfo& KickKindOf(DetectionKind kind) {
  return KickKinds()[static_cast<std::size_t>(kind)];
}

std::string KickSwitchName(const KickKindInfo& kind) {
  return std::string("Kick") + kind.name + "CheckBox";
}
std::string CommandEditName(const KickKindInfo& kind) {
  return std::string("Kick") + kind.name + "CommandEdit";
}
std::string RawSwitchName(const KickKindInfo& kind) {
  return std::string("Raw") + kind.name + "CheckBox";
}

void LoadDefaultCommands(ControlModel& controls) {
  LoadDefaults(controls, false);
}
void LoadDefaultRawCommands(ControlModel& controls) {
  LoadDefaults(controls, true);
}

}  // namespace varnek
