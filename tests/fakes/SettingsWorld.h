#pragma once

// Everything a settings file touches, as the bot owns it, over a fake clock
// and fake dialogs; the file is Varnek.ini in the given directory.

#include <filesystem>

#include "core/model/ControlModel.h"
#include "core/model/TickStamps.h"
#include "core/store/LangTable.h"
#include "core/store/OutputPanes.h"
#include "core/store/SettingsFile.h"
#include "fakes/FakePorts.h"

namespace varnek::test {

struct SettingsWorld {
  explicit SettingsWorld(const std::filesystem::path& dir)
      : panes(controls, lang, clock, dir / "logs"),
        settings(controls, panes, lang, clock, dialogs, window, ticks, dir / "Varnek.ini") {}

  ControlModel controls;
  LangTable lang;
  FakeClock clock;
  FakeDialogs dialogs;
  FakeWindow window;
  OutputPanes panes;
  TickStamps ticks;
  SettingsFile settings;
};

}  // namespace varnek::test
