#include "core/model/KickTemplates.h"

#include "core/model/ControlModel.h"

namespace varnek {
namespace {

constexpr const char* kRawFake =
    "$To: <nick> From: <mynick> $<<mynick>> [auto kick] Fake share: <fake> B|<<mynick>> is kicking <nick> because: "
    "Fake share: <fake> B|<<mynick>> !kick <nick> Fake share: <fake> B|";
constexpr const char* kRawProxy =
    "$To: <nick> From: <mynick> $<<mynick>> [auto kick] Proxy connection|<<mynick>> is kicking <nick> because: Proxy "
    "connection|<<mynick>> !kick <nick> Proxy connection|";
constexpr const char* kRawClone =
    "$To: <nick> From: <mynick> $<<mynick>> [auto kick] Clone of <clone>|<<mynick>> is kicking <nick> because: Clone "
    "of <clone>|<<mynick>> !kick <nick> Clone of <clone>|";
constexpr const char* kRawLimit =
    "$To: <nick> From: <mynick> $<<mynick>> [auto kick] Upload limit: <limit> KiB/s|<<mynick>> is kicking <nick> "
    "because: Upload limit: <limit> KiB/s|<<mynick>> !kick <nick> Upload limit: <limit> KiB/s|";
constexpr const char* kRawNick =
    "$To: <nick> From: <mynick> $<<mynick>> [auto kick] Forbidden nick pattern: <nickpat>|<<mynick>> is kicking "
    "<nick> because: Forbidden nick pattern: <nickpat>|<<mynick>> !kick <nick> Forbidden nick pattern: <nickpat>|";
constexpr const char* kRawIp =
    "$To: <nick> From: <mynick> $<<mynick>> [auto kick] Forbidden IP pattern: <ippat>|<<mynick>> is kicking <nick> "
    "because: Forbidden IP pattern: <ippat>|<<mynick>> !kick <nick> Forbidden IP pattern: <ippat>|";
constexpr const char* kRawDescription =
    "$To: <nick> From: <mynick> $<<mynick>> [auto kick] Forbidden description pattern: <descpat>|<<mynick>> is "
    "kicking <nick> because: Forbidden description pattern: <descpat>|<<mynick>> !kick <nick> Forbidden description "
    "pattern: <descpat>|";
constexpr const char* kRawEmail =
    "$To: <nick> From: <mynick> $<<mynick>> [auto kick] Forbidden email pattern: <emailpat>|<<mynick>> is kicking "
    "<nick> because: Forbidden email pattern: <emailpat>|<<mynick>> !kick <nick> Forbidden email pattern: "
    "<emailpat>|";
constexpr const char* kRawTag =
    "$To: <nick> From: <mynick> $<<mynick>> [auto kick] Forbidden tag pattern: <tagpat>|<<mynick>> is kicking <nick> "
    "because: Forbidden tag pattern: <tagpat>|<<mynick>> !kick <nick> Forbidden tag pattern: <tagpat>|";
constexpr const char* kRawShare =
    "$To: <nick> From: <mynick> $<<mynick>> [auto kick] Forbidden share size pattern: <share> B|<<mynick>> is kicking "
    "<nick> because: Forbidden share size pattern: <share> B|<<mynick>> !kick <nick> Forbidden share size pattern: "
    "<share> B|";
constexpr const char* kRawHubs =
    "$To: <nick> From: <mynick> $<<mynick>> [auto kick] Too high hubs count: <hubs>|<<mynick>> is kicking <nick> "
    "because: Too high hubs count: <hubs>|<<mynick>> !kick <nick> Too high hubs count: <hubs>|";
constexpr const char* kRawSameIp =
    "$To: <nick> From: <mynick> $<<mynick>> [auto kick] Connection from same IP as <sameip>|<<mynick>> is kicking "
    "<nick> because: Connection from same IP as <sameip>|<<mynick>> !kick <nick> Connection from same IP as "
    "<sameip>|";

const std::array<KickKindInfo, kDetectionKindCount> kKinds = {{
    {DetectionKind::Fake, "Fake", false, "<fake>", LangHintSameNumbers,
     "!kick <nick> [auto kick] Fake share: <fake> B", kRawFake},
    {DetectionKind::Proxy, "Proxy", false, "", LangHintProxyConnection,
     "!kick <nick> [auto kick] Proxy connection", kRawProxy},
    {DetectionKind::Clone, "Clone", false, "<clone>", LangHintClonedUsers,
     "!kick <nick> [auto kick] Clone of <clone>", kRawClone},
    {DetectionKind::Limit, "Limit", false, "<limit>", LangHintUploadLimit,
     "!kick <nick> [auto kick] Upload limit: <limit> KiB/s", kRawLimit},
    {DetectionKind::Nick, "Nick", false, "<nickpat>", LangHintNickPattern,
     "!kick <nick> [auto kick] Forbidden nick pattern: <nickpat>", kRawNick},
    {DetectionKind::Ip, "Ip", false, "<ippat>", LangHintIpPattern,
     "!kick <nick> [auto kick] Forbidden IP pattern: <ippat>", kRawIp},
    {DetectionKind::Description, "Description", false, "<descpat>", LangHintDescriptionPattern,
     "!kick <nick> [auto kick] Forbidden description pattern: <descpat>", kRawDescription},
    {DetectionKind::Email, "Email", false, "<emailpat>", LangHintEmailPattern,
     "!kick <nick> [auto kick] Forbidden email pattern: <emailpat>", kRawEmail},
    {DetectionKind::Tag, "Tag", false, "<tagpat>", LangHintTagPattern,
     "!kick <nick> [auto kick] Forbidden tag pattern: <tagpat>", kRawTag},
    {DetectionKind::Share, "Share", false, "<share>", LangHintSharePattern,
     "!kick <nick> [auto kick] Forbidden share size pattern: <share> B", kRawShare},
    {DetectionKind::Hubs, "Hubs", true, "<hubs>", LangHintHubsCount,
     "!kick <nick> [auto kick] Too high hubs count: <hubs>", kRawHubs},
    {DetectionKind::SameIp, "SameIp", false, "<sameip>", LangHintSameIpConnections,
     "!kick <nick> [auto kick] Connection from same IP as <sameip>", kRawSameIp},
}};

void LoadDefaults(ControlModel& controls, bool raw) {
  for (const KickKindInfo& kind : kKinds) {
    controls.Get(RawSwitchName(kind)).SetChecked(raw);
    controls.Get(CommandEditName(kind)).SetText(raw ? kind.rawDefault : kind.plainDefault);
  }
}

}  // namespace

const std::array<KickKindInfo, kDetectionKindCount>& KickKinds() { return kKinds; }

const KickKindInfo& KickKindOf(DetectionKind kind) { return kKinds[static_cast<std::size_t>(kind)]; }

std::string KickSwitchName(const KickKindInfo& kind) { return std::string("Kick") + kind.name + "CheckBox"; }
std::string CommandEditName(const KickKindInfo& kind) { return std::string("Kick") + kind.name + "CommandEdit"; }
std::string RawSwitchName(const KickKindInfo& kind) { return std::string("Raw") + kind.name + "CheckBox"; }

void LoadDefaultCommands(ControlModel& controls) { LoadDefaults(controls, false); }
void LoadDefaultRawCommands(ControlModel& controls) { LoadDefaults(controls, true); }

}  // namespace varnek
