#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/model/DetectionTable.h"

namespace varnek {

class ControlModel;

// A detection's row with its two default templates, which are made at run
// time from the row's reason.
struct KickKindInfo {
  DetectionKind kind;
  const char* name;          // "Fake" in KickFakeCheckBox and in the settings keys KickFake, CommandFake
  bool sharedSwitches;       // Hubs: three kick switches share one template
  const char* placeholder;   // besides <nick> and <mynick>; empty for Proxy
  const char* reason;        // why the user is kicked, as every default template says it
  std::string plainDefault;  // "!kick <nick> [auto kick] " and the reason
  std::string rawDefault;    // a private note, the kick message and the kick, each with the reason
  const DetectionRow* row;
};

const std::array<KickKindInfo, kDetectionKindCount>& KickKinds();
const KickKindInfo& KickKindOf(DetectionKind kind);

std::string KickSwitchName(const KickKindInfo& kind);   // KickFakeCheckBox
std::string CommandEditName(const KickKindInfo& kind);  // KickFakeCommandEdit
std::string RawSwitchName(const KickKindInfo& kind);    // RawFakeCheckBox

// "Load default commands" and "Load default raw commands".
void LoadDefaultCommands(ControlModel& controls);
void LoadDefaultRawCommands(ControlModel& controls);

}  // namespace varnek
