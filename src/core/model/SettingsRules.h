#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace varnek {

class Clock;
class ControlModel;
struct TickStamps;

// Installs the rules that tie the settings controls together as change
// reactions, so that they hold after every click, every bot command and every
// load alike: switches enable their dependent fields, edits of the autosave
// and information request schedules restart their intervals, the page decides
// whether the default-template buttons show, the transparency track bar shows
// its number, and a new trigger rebuilds the help text.
void InstallSettingsRules(ControlModel& controls, TickStamps& ticks, const Clock& clock,
                          std::function<void()> rebuildHelp);

// Makes every enabling rule hold for the current values.
void ApplyEnablingRules(ControlModel& controls);

// The switches that enable a control: all of them must be on, or, when
// `anyOf`, one of them. No switches for a control no switch enables.
struct EnablingSwitches {
  std::vector<std::string> switches;
  bool anyOf = false;
};
EnablingSwitches SwitchesEnabling(std::string_view control);

}  // namespace varnek
