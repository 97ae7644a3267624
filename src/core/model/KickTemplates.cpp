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

// One detection, its default templates built from its row's reason.
KickKindInfo Kind(const DetectionRow& row) {
  return {row.kind,
          row.name,
          !row.HasKickSwitch(),
          row.placeholder,
          row.reason,
          PlainDefault(row.reason),
          RawDefault(row.reason),
          &row};
}

std::array<KickKindInfo, kDetectionKindCount> AllKinds() {
  std::array<KickKindInfo, kDetectionKindCount> kinds;
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    kinds[i] = Kind(kDetectionRows[i]);
  }
  return kinds;
}

void LoadDefaults(ControlModel& controls, bool raw) {
  for (const KickKindInfo& kind : KickKinds()) {
    controls.Get(kind.row->rawSwitch).SetChecked(raw);
    controls.Get(kind.row->commandEdit).SetText(raw ? kind.rawDefault : kind.plainDefault);
  }
}

}  // namespace

// Built on first use: the defaults are made at run time, and a global table
// of them might be asked for by another table before it was made.
const std::array<KickKindInfo, kDetectionKindCount>& KickKinds() {
  static const std::array<KickKindInfo, kDetectionKindCount> kinds = AllKinds();
  return kinds;
}

const KickKindInfo& KickKindOf(DetectionKind kind) {
  return KickKinds()[static_cast<std::size_t>(kind)];
}

std::string KickSwitchName(const KickKindInfo& kind) {
  return kind.row->kickSwitch;
}
std::string CommandEditName(const KickKindInfo& kind) {
  return kind.row->commandEdit;
}
std::string RawSwitchName(const KickKindInfo& kind) {
  return kind.row->rawSwitch;
}

void LoadDefaultCommands(ControlModel& controls) {
  LoadDefaults(controls, false);
}
void LoadDefaultRawCommands(ControlModel& controls) {
  LoadDefaults(controls, true);
}

}  // namespace varnek
