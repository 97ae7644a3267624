#include "core/model/SettingsRules.h"

#include <string>
#include <vector>

#include "core/model/ControlModel.h"
#include "core/model/KickTemplates.h"
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
  for (const KickKindInfo& kind : KickKinds()) {
    if (kind.sharedSwitches) {
      continue;
    }
    rules.push_back({CommandEditName(kind), {KickSwitchName(kind)}});
    rules.push_back({RawSwitchName(kind), {KickSwitchName(kind)}});
  }
  rules.push_back({"KickLimitBelowCheckBox", {"KickLimitCheckBox"}});
  rules.push_back({"KickLimitBelowSpinEdit", {"KickLimitCheckBox", "KickLimitBelowCheckBox"}});
  rules.push_back({"UserHubsSpinEdit", {"KickUserHubsCheckBox"}});
  rules.push_back({"RegHubsSpinEdit", {"KickRegHubsCheckBox"}});
  rules.push_back({"OpHubsSpinEdit", {"KickOpHubsCheckBox"}});
  rules.push_back({"BotMessageMemo", {"MessageCheckBox"}});
  rules.push_back({"OpChatEdit", {"MessageCheckBox"}});
  rules.push_back({"AutosaveSpinEdit", {"AutosaveCheckBox"}});
  rules.push_back({"TryInfoSpinEdit", {"TryInfoCheckBox"}});
  rules.push_back({"AlphaBlendTrackBar", {"AlphaBlendCheckBox"}});
  rules.push_back({"TimestampsDateCheckBox", {"TimestampsCheckBox"}});
  rules.push_back({"MaximumCountSpinEdit", {"LinesCountCheckBox"}});
  return rules;
}

const std::vector<Dependency>& AllDependencies() {
  static const std::vector<Dependency> rules = Dependencies();
  return rules;
}

constexpr const char* kHubsSwitches[] = {"KickUserHubsCheckBox", "KickRegHubsCheckBox", "KickOpHubsCheckBox"};

void ApplyHubsTemplateRule(ControlModel& controls) {
  bool any = false;
  for (const char* name : kHubsSwitches) {
    any = any || controls.Get(name).Checked();
  }
  controls.Get("KickHubsCommandEdit").SetEnabled(any);
  controls.Get("RawHubsCheckBox").SetEnabled(any);
}

void ApplyDependency(ControlModel& controls, const Dependency& rule) {
  bool on = true;
  for (const std::string& name : rule.switches) {
    on = on && controls.Get(name).Checked();
  }
  controls.Get(rule.control).SetEnabled(on);
}

void ApplyPageRule(ControlModel& controls) {
  const int page = controls.Get("PageControl").Value();
  const bool detectionPage = page == PageNumber(Page::FirstDetections) || page == PageNumber(Page::SecondDetections);
  controls.Get("LoadCommandsButton").SetVisible(detectionPage);
  controls.Get("LoadRawCommandsButton").SetVisible(detectionPage);
}

}  // namespace

void ApplyEnablingRules(ControlModel& controls) {
  for (const Dependency& rule : AllDependencies()) {
    ApplyDependency(controls, rule);
  }
  ApplyHubsTemplateRule(controls);
  ApplyPageRule(controls);
  controls.Get("AlphaBlendLabel").SetCaption(std::to_string(controls.Get("AlphaBlendTrackBar").Value()));
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
  controls.Get("PageControl").AddReaction([&controls] { ApplyPageRule(controls); });
  Control& trackBar = controls.Get("AlphaBlendTrackBar");
  trackBar.AddReaction([&controls, &trackBar] {
    controls.Get("AlphaBlendLabel").SetCaption(std::to_string(trackBar.Value()));
  });

  // Switching a schedule on, or changing its interval, restarts it.
  auto restart = [&clock](std::uint32_t& stamp, const Control* box) {
    return [&clock, &stamp, box] {
      if (box == nullptr || box->Checked()) {
        stamp = clock.TickCount();
      }
    };
  };
  Control& autosave = controls.Get("AutosaveCheckBox");
  Control& tryInfo = controls.Get("TryInfoCheckBox");
  autosave.AddReaction(restart(ticks.autosave, &autosave));
  controls.Get("AutosaveSpinEdit").AddReaction(restart(ticks.autosave, nullptr));
  tryInfo.AddReaction(restart(ticks.tryInfo, &tryInfo));
  controls.Get("TryInfoSpinEdit").AddReaction(restart(ticks.tryInfo, nullptr));

  // The help memo shows the trigger in the hub's code page.
  controls.Get("EncodingComboBox").AddReaction(rebuildHelp);
  controls.Get("TriggerComboBox").AddReaction(std::move(rebuildHelp));
  ApplyEnablingRules(controls);
}

}  // namespace varnek
