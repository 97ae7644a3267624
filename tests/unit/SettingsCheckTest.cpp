// Values of Varnek.ini that the program cannot take are named, and an edit
// made on disk while the program runs is never overwritten.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/model/ControlNames.h"
#include "core/store/OutputPanes.h"
#include "core/store/SettingsCheck.h"
#include "core/store/SettingsFile.h"
#include "fakes/SettingsWorld.h"
#include "fakes/TempDir.h"

namespace varnek {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

class SettingsCheckTest : public ::testing::Test {
 protected:
  SettingsCheckTest() { fs::create_directory(dir / "logs"); }

  void WriteIni(const std::string& settings) const { dir.WriteFile("Varnek.ini", "[Settings]\r\n" + settings); }
  std::string Ini() const { return TempDir::ReadFile(dir / "Varnek.ini"); }
  std::vector<std::string> StatusLinesHolding(const std::string& text) {
    std::vector<std::string> found;
    for (const std::string& line : world.panes.Pane(PaneId::Status).Lines()) {
      if (line.find(text) != std::string::npos) {
        found.push_back(line);
      }
    }
    return found;
  }

  TempDir dir;
  test::SettingsWorld world{dir.Path()};
};

TEST_F(SettingsCheckTest, EveryValueThatCannotBeTakenIsNamedWithWhatIsUsedInstead) {
  struct Case {
    const char* line;
    const char* told;  // nullptr: the value is taken
  };
  const Case cases[] = {
      {"Lines=abc", "Lines=abc is not a number; 500 is used instead"},
      {"Lines=5", "Lines=5 is out of range (10 to 10000); 10 is used instead"},
      {"Lines=600", nullptr},
      {"Detections=maybe", "Detections=maybe is not 1 or 0; 0 is used instead"},
      {"Detections=5", nullptr},  // every number but zero is true
      {"Trigger=11", "Trigger=11 is no choice of the list; 0 is used instead"},
      {"Port=99999", "Port=99999 is no port (1 to 65535); 411 is used instead"},
      {"Port=4111", nullptr},
      {"Encoding=", "Encoding= is none of 12 choices; windows-1252 is used instead"},
      {"Encoding=utf-8", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    WriteIni(std::string(c.line) + "\r\n");
    world.window.told.clear();
    world.panes.Clear(PaneId::Status);
    world.settings.Load();
    const SettingsCheck check = CheckSettingsFile(dir / "Varnek.ini");
    ASSERT_TRUE(check.readable) << check.error;
    if (c.told == nullptr) {
      EXPECT_EQ(world.window.told, std::vector<std::string>{});
      EXPECT_EQ(check.values, std::vector<std::string>{});
      continue;
    }
    const std::string expected = (dir / "Varnek.ini").string() + ": " + c.told;
    EXPECT_EQ(world.window.told, std::vector<std::string>{expected});
    EXPECT_EQ(StatusLinesHolding(c.told).size(), 1u);
    EXPECT_EQ(check.values, std::vector<std::string>{c.told});
  }
}

TEST_F(SettingsCheckTest, TheCheckNamesUnknownKeysChangesNothingAndNamesAnUnreadableFile) {
  WriteIni("Lines=abc\r\nNick=x\r\n");
  dir.WriteFile("Varnek.ini.tmp123", "a save killed halfway");
  const std::string before = Ini();
  EXPECT_EQ(CheckSettingsFile(dir / "Varnek.ini").values,
            (std::vector<std::string>{"Lines=abc is not a number; 500 is used instead",
                                      "Nick is no setting of the program; the next save leaves it out"}));
  EXPECT_EQ(Ini(), before);
  EXPECT_TRUE(fs::exists(dir / "Varnek.ini.tmp123"));

  fs::create_directory(dir / "AsDirectory.ini");
  const SettingsCheck unreadable = CheckSettingsFile(dir / "AsDirectory.ini");
  EXPECT_FALSE(unreadable.readable);
  EXPECT_NE(unreadable.error.find("AsDirectory.ini"), std::string::npos) << unreadable.error;
  EXPECT_TRUE(CheckSettingsFile(dir / "Missing.ini").values.empty());
}

// The admin's reflex: edit the file while the bot runs, then restart it. The
// save at exit must not write the settings held in memory over the edit.
TEST_F(SettingsCheckTest, ASaveAfterAnEditOnDiskGoesBesideTheFileAndTheEditIsReadLater) {
  WriteIni("Dns=old.example\r\n");
  world.settings.Load();
  world.controls.Get(ctl::kDescriptionEdit).SetText("held in memory");
  ASSERT_TRUE(world.settings.Save());

  WriteIni("Dns=new.example\r\n");
  const std::string edited = Ini();
  world.window.told.clear();
  EXPECT_FALSE(world.settings.Save());
  EXPECT_EQ(Ini(), edited) << "the edit is kept";
  const std::string aside = TempDir::ReadFile(dir / "Varnek.ini.unsaved");
  EXPECT_NE(aside.find("Description=held in memory\r\n"), std::string::npos) << aside;
  EXPECT_NE(aside.find("Dns=old.example\r\n"), std::string::npos) << aside;
  struct stat info {};
  ASSERT_EQ(::stat((dir / "Varnek.ini.unsaved").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  ASSERT_EQ(world.window.told.size(), 1u);
  EXPECT_NE(world.window.told[0].find((dir / "Varnek.ini.unsaved").string()), std::string::npos);
  EXPECT_NE(world.window.told[0].find((dir / "Varnek.ini").string() + " was changed on disk"), std::string::npos);

  // A second save still leaves the edit alone; a reload reads it, and the
  // saves after it write the file again.
  EXPECT_FALSE(world.settings.Save());
  world.settings.Load();
  EXPECT_EQ(world.controls.Get(ctl::kHubIpEdit).Text(), "new.example");
  EXPECT_TRUE(world.settings.Save());
  EXPECT_NE(Ini().find("Dns=new.example\r\n"), std::string::npos);
}

// A certificate trusted meanwhile is written into the edited file, which keeps
// the edit, and the edit is still not overwritten by the next save.
TEST_F(SettingsCheckTest, ACertificateSavedAfterAnEditKeepsTheEditUnread) {
  world.settings.Load();
  ASSERT_TRUE(world.settings.Save());
  WriteIni("Dns=edited.example\r\n");
  world.settings.Certificates().Trust("hub:411", "AA:BB");
  world.settings.SaveCertificates();
  EXPECT_NE(Ini().find("Dns=edited.example\r\n"), std::string::npos);
  EXPECT_NE(Ini().find("hub:411=AA:BB"), std::string::npos);
  EXPECT_FALSE(world.settings.Save());
  EXPECT_NE(Ini().find("Dns=edited.example\r\n"), std::string::npos);
}

}  // namespace
}  // namespace varnek
