#include "core/model/SettingsRules.h"

#include <string>
#include <vector>

#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/model/DetectionTable.h"
#include "core/model/Pages.h"
#include "core/model/Ports.h"
#include "core/model/TickStamps.h"

namespace varnek {
namespace {

struct Dependency {
  std::string control;
  std::vector<std::string> switches;  // enabled exactly while all are on
};

std::vector<Dependency> Dependencies() {
  std::vector<Dependency> rules;
  for (const DetectionRow& row : kDetectionRows) {
    if (!row.HasKickSwitch()) {
      continue;
    }
    rules.push_back({row.commandEdit, {row.kickSwitch}});
    rules.push_back({row.rawSwitch, {row.kickSwitch}});
  }
  rules.push_back({ctl::kKickLimitBelowCheckBox, {ctl::kKickLimitCheckBox}});
  rules.push_back({ctl::kKickLimitBelowSpinEdit, {ctl::kKickLimitCheckBox, ctl::kKickLimitBelowCheckBox}});
  rules.push_back({ctl::kUserHubsSpinEdit, {ctl::kKickUserHubsCheckBox}});
  rules.push_back({ctl::kRegHubsSpinEdit, {ctl::kKickRegHubsCheckBox}});
  rules.push_back({ctl::kOpHubsSpinEdit, {ctl::kKickOpHubsCheckBox}});
  rules.push_back({ctl::kBotMessageMemo, {ctl::kMessageCheckBox}});
  rules.push_back({ctl::kOpChatEdit, {ctl::kMessageCheckBox}});
  rules.push_back({ctl::kAutosaveSpinEdit, {ctl::kAutosaveCheckBox}});
  rules.push_back({ctl::kTryInfoSpinEdit, {ctl::kTryInfoCheckBox}});
  rules.push_back({ctl::kAlphaBlendTrackBar, {ctl::kAlphaBlendCheckBox}});
  rules.push_back({ctl::kTimestampsDateCheckBox, {ctl::kTimestampsCheckBox}});
  rules.push_back({ctl::kMaximumCountSpinEdit, {ctl::kLinesCountCheckBox}});
  return rules;
}

const std::vector<Dependency>& AllDependencies() {
  static const std::vector<Dependency> rules = Dependencies();
  return rules;
}

constexpr const char* kHubsSwitches[] = {ctl::kKickUserHubsCheckBox, ctl::kKickRegHubsCheckBox,
                                         ctl::kKickOpHubsCheckBox};

void ApplyHubsTemplateRule(ControlModel& controls) {
  bool any = false;
  for (const char* name : kHubsSwitches) {
    any = any || controls.Get(name).Checked();
  }
  controls.Get(ctl::kKickHubsCommandEdit).SetEnabled(any);
  controls.Get(ctl::kRawHubsCheckBox).SetEnabled(any);
}

void ApplyDependency(ControlModel& controls, const Dependency& rule) {
  bool on = true;
  for (const std::string& name : rule.switches) {
    on = on && controls.Get(name).Checked();
  }
  controls.Get(rule.control).SetEnabled(on);
}

void ApplyPageRule(ControlModel& controls) {
  const int page = controls.Get(ctl::kPageControl).Value();
  const bool detectionPage = page == PageNumber(Page::FirstDetections) || page == PageNumber(Page::SecondDetections);
  controls.Get(ctl::kLoadCommandsButton).SetVisible(detectionPage);
  controls.Get(ctl::kLoadRawCommandsButton).SetVisible(detectionPage);
}

}  // namespace

EnablingSwitches SwitchesEnabling(std::string_view control) {
  if (control == ctl::kKickHubsCommandEdit || control == ctl::kRawHubsCheckBox) {
    return {std::vector<std::string>(std::begin(kHubsSwitches), std::end(kHubsSwitches)), true};
  }
  for (const Dependency& rule : AllDependencies()) {
    if (rule.control == control) {
      return {rule.switches, false};
    }
  }
  return {};
}

void ApplyEnablingRules(ControlModel& controls) {
  for (const Dependency& rule : AllDependencies()) {
    ApplyDependency(controls, rule);
  }
  ApplyHubsTemplateRule(controls);
  ApplyPageRule(controls);
  controls.Get(ctl::kAlphaBlendLabel).SetCaption(std::to_string(controls.Get(ctl::kAlphaBlendTrackBar).Value()));
}

void InstallSettingsRules(ControlModel& controls, TickStamps& ticks, const Clock& clock,
                          std::function<void()> rebuildHelp) {
  for (const Dependency& rule : AllDependencies()) {
    for (const std::string& name : rule.switches) {
      controls.Get(name).AddReaction([&controls, &rule] { ApplyDependency(controls, rule); });
    }
  }
  for (const char* name : kHubsSwitches) {
    controls.Get(name).AddReaction([&controls] { ApplyHubsTemplateRule(controls); });
  }
  controls.Get(ctl::kPageControl).AddReaction([&controls] { ApplyPageRule(controls); });
  Control& trackBar = controls.Get(ctl::kAlphaBlendTrackBar);
  trackBar.AddReaction(
      [&controls, &trackBar] { controls.Get(ctl::kAlphaBlendLabel).SetCaption(std::to_string(trackBar.Value())); });

  // Switching a schedule on, or changing its interval, restarts it.
  auto restart = [&clock](std::uint32_t& stamp, const Control* box) {
    return [&clock, &stamp, box] {
      if (box == nullptr || box->Checked()) {
        stamp = clock.TickCount();
      }
    };
  };
  Control& autosave = controls.Get(ctl::kAutosaveCheckBox);
  Control& tryInfo = controls.Get(ctl::kTryInfoCheckBox);
  autosave.AddReaction(restart(ticks.autosave, &autosave));
  controls.Get(ctl::kAutosaveSpinEdit).AddReaction(restart(ticks.autosave, nullptr));
  tryInfo.AddReaction(restart(ticks.tryInfo, &tryInfo));
  controls.Get(ctl::kTryInfoSpinEdit).AddReaction(restart(ticks.tryInfo, nullptr));

  // The help memo shows the trigger in the hub's code page.
  controls.Get(ctl::kEncodingComboBox).AddReaction(rebuildHelp);
  controls.Get(ctl::kTriggerComboBox).AddReaction(std::move(rebuildHelp));
  ApplyEnablingRules(controls);
}

}  // namespace varnek
