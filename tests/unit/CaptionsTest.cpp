#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

// Kinds of control that show a caption of their own: one that has none once
// the bot runs was forgotten in the language bindings (or in the parts that
// caption it as they go, as the statistics do).
bool ShowsACaption(ControlKind kind) {
  switch (kind) {
    case ControlKind::TabSheet:
    case ControlKind::GroupBox:
    case ControlKind::Label:
    case ControlKind::LinkLabel:
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::MenuItem:
      return true;
    default:
      return false;
  }
}

TEST(Captions, EveryCaptionedControlHasOneInEveryLanguageConnectedOrNot) {
  for (const char* file : {"", "Deutsch.lang"}) {
    for (bool connected : {false, true}) {
      SCOPED_TRACE(std::string(file) + (connected ? " connected" : " disconnected"));
      test::BotFixture f;
      f.Start();
      if (*file != '\0') {
        std::filesystem::copy_file(std::filesystem::path(VARNEK_SOURCE_DIR "/data/translations") / file,
                                   f.dir.Path() / "translations" / file);
        f.control(ctl::kLangFileEdit).SetText(file);
        f.bot->ApplyLanguage();
      }
      if (connected) {
        f.LogIn();
      }
      f.bot->TimerTick();
      std::vector<std::string> missing;
      for (const Control& control : f.controls().All()) {
        if (ShowsACaption(control.Kind()) && control.Caption().empty()) {
          missing.push_back(control.Name());
        }
      }
      EXPECT_EQ(missing, std::vector<std::string>{});
    }
  }
}

}  // namespace
}  // namespace varnek
