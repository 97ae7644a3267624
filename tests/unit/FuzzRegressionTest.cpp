// Inputs that the fuzz targets (fuzz/) found faults with, fed through the same
// paths in the normal build so that the faults stay fixed. Each case names
// the file of the target's corpus that holds the same input.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/ControlNames.h"
#include "core/store/SettingsSchema.h"
#include "fakes/BotFixture.h"
#include "fakes/FakePorts.h"
#include "fakes/TempDir.h"

namespace varnek {
namespace {

using test::BotFixture;
using test::FakePorts;
using test::TempDir;
using Type = SettingEntry::Type;

std::string CorpusFile(std::string_view target, std::string_view name) {
  return TempDir::ReadFile(std::filesystem::path(VARNEK_SOURCE_DIR) / "fuzz" / "corpus" / target / name);
}

// One setting of a bot as comparable text, lists with every row.
std::string SettingText(Bot& bot, const SettingEntry& entry) {
  ControlModel& controls = bot.Controls();
  switch (entry.type) {
    case Type::String:
    case Type::Memo:
      return controls.Get(entry.control).Text();
    case Type::Integer:
    case Type::Index:
      return std::to_string(controls.Get(entry.control).Value());
    case Type::Boolean:
    case Type::DebugMode:
      return controls.Get(entry.control).Checked() ? "1" : "0";
    case Type::PaneScroll: {
      const PaneId pane = entry.control == ctl::kChatMemo     ? PaneId::Chat
                          : entry.control == ctl::kStatusMemo ? PaneId::Status
                                                              : PaneId::Debug;
      return bot.Panes().Pane(pane).AutoScroll() ? "1" : "0";
    }
    case Type::ListSection: {
      std::string rows;
      for (const std::string& row : controls.List(entry.control).Rows()) {
        rows += "[" + row + "]";
      }
      return rows;
    }
  }
  return {};
}

// The path of fuzz_settings: the file is loaded and saved, and the saved file
// must load into a fresh bot with every setting as it was.
void ExpectSettingsRoundTrip(std::string_view fileBytes) {
  TempDir dir;
  dir.WriteFile("Varnek.ini", fileBytes);
  FakePorts firstPorts;
  Bot first(firstPorts.ports(), dir.Path());
  first.Settings().Load();
  first.Settings().Save();
  FakePorts secondPorts;
  Bot second(secondPorts.ports(), dir.Path());
  second.Settings().Load();
  for (const SettingEntry& entry : SettingsSchema()) {
    EXPECT_EQ(SettingText(first, entry), SettingText(second, entry)) << "setting " << entry.key;
  }
}

// A value is read up to 2047 characters, but its stored form encodes "&#" and
// line breaks in several bytes: the cut used to fall on the stored form, so a
// saved row longer than that on disk came back shortened (or cut inside a
// code) at every load after a save.
TEST(FuzzRegression, SettingsKeepLongRowsWhoseStoredFormIsLonger) {
  ExpectSettingsRoundTrip(CorpusFile("fuzz_settings", "regression-long-encoded-row"));
}

// The same loss as an operator meets it: a description pattern with many line
// breaks, added by bot command and saved, must come back whole.
TEST(FuzzRegression, PatternWithManyLineBreaksSurvivesSaveAndStart) {
  BotFixture f;
  f.LogIn();
  f.AddOperator("op");
  std::string pattern = "*spam";
  for (int line = 0; line < 300; ++line) {
    pattern += "\nline";
  }
  f.Receive("$To: Guard From: op $<op> %adddesc " + pattern + "|$To: Guard From: op $<op> %save|");
  const std::vector<std::string> added = f.controls().List(ctl::kKickDescriptionListView).Rows();
  ASSERT_EQ(added.size(), 1u);
  ASSERT_GT(added[0].size(), 1500u);

  FakePorts ports;
  Bot restarted(ports.ports(), f.dir.Path());
  restarted.Start();
  EXPECT_EQ(restarted.Controls().List(ctl::kKickDescriptionListView).Rows(), added);
}

}  // namespace
}  // namespace varnek
