#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/model/ControlModel.h"
#include "core/store/SettingsSchema.h"
#include "core/text/Ascii.h"

namespace varnek {
namespace {

using Type = SettingEntry::Type;

// The file's keys are matched without regard to case, so two rows whose keys
// differ only in case would read each other's value.
TEST(SettingsSchemaTest, EveryKeyAndSectionIsStoredOnce) {
  std::set<std::string> keys;
  std::set<std::string> controls;
  for (const SettingEntry& entry : SettingsSchema()) {
    EXPECT_TRUE(keys.insert(AsciiLowerCopy(entry.key)).second) << entry.key;
    EXPECT_TRUE(controls.insert(entry.control).second) << entry.control;
  }
}

// A setting has one default, its control's first value: a file without the
// key leaves the control as the program starts it.
TEST(SettingsSchemaTest, EveryDefaultIsTheControlsFirstValue) {
  ControlModel fresh;
  for (const SettingEntry& entry : SettingsSchema()) {
    const Control& control = fresh.Get(entry.control);
    switch (entry.type) {
      case Type::Integer:
      case Type::Index:
        EXPECT_EQ(control.Clamp(entry.defaultInt), control.Value()) << entry.key;
        EXPECT_EQ(entry.defaultInt, control.Value()) << entry.key << " is raised or cut to the control's range";
        break;
      case Type::Boolean:
        EXPECT_EQ(entry.defaultInt != 0, control.Checked()) << entry.key;
        break;
      case Type::String:
      case Type::Memo:
        EXPECT_EQ(entry.defaultText, control.Text()) << entry.key;
        break;
      case Type::ListSection:
      case Type::DebugMode:
      case Type::PaneScroll:
        break;
    }
  }
}

}  // namespace
}  // namespace varnek
