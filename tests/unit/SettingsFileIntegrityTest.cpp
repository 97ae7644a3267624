// Settings are never cut or lost: values longer than a field's typing limit,
// a Varnek.ini that cannot be read, and one that is a symbolic link.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/model/ControlNames.h"
#include "core/store/IniFile.h"
#include "core/store/SettingsSchema.h"
#include "fakes/SettingsWorld.h"
#include "fakes/TempDir.h"

namespace varnek {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using World = test::SettingsWorld;

void TempDirWrite(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

class SettingsFileIntegrityTest : public ::testing::Test {
 protected:
  SettingsFileIntegrityTest() { fs::create_directory(dir / "logs"); }

  fs::path IniPath() const { return dir / "Varnek.ini"; }
  IniFile SavedIni() const { return IniFile::Load(IniPath()); }
  Control& Get(const char* name) { return world.controls.Get(name); }
  StringListModel& List(const char* name) { return world.controls.List(name); }
  void WriteIni(std::string_view bytes) const { dir.WriteFile("Varnek.ini", bytes); }
  // Loads a file whose section "Settings" holds only the given lines.
  void LoadSettings(const std::string& lines) {
    WriteIni("[Settings]\r\n" + lines);
    world.settings.Load();
  }

  TempDir dir;
  World world{dir.Path()};
};

TEST_F(SettingsFileIntegrityTest, ValuesLongerThanTheirTypingLimitLoadAndSaveWhole) {
  const std::pair<const char*, std::size_t> cases[] = {
      {"Username", 40}, {"Password", 40}, {"Description", 60},  {"Email", 60},     {"OpChat", 60},
      {"Dns", 120},     {"Port", 8},      {"CommandFake", 500}, {"Message", 1500}, {"Language", 300},
  };
  std::string lines;
  for (const auto& [key, length] : cases) {
    lines += std::string(key) + "=" + std::string(length, 'p') + "\r\n";
  }
  LoadSettings(lines);
  world.settings.Save();
  const IniFile saved = SavedIni();
  for (const SettingEntry& entry : SettingsSchema()) {
    for (const auto& [key, length] : cases) {
      if (entry.key == key) {
        EXPECT_EQ(Get(entry.control.c_str()).Text(), std::string(length, 'p')) << key;
        EXPECT_EQ(saved.Read("Settings", key), std::string(length, 'p')) << key;
      }
    }
  }
}

// A Varnek.ini that cannot be read, made so in ways that hold for root too.
struct UnreadableCase {
  const char* what;
  const char* reason;
  std::function<void(const fs::path&)> make;
};

std::vector<UnreadableCase> UnreadableFiles() {
  std::vector<UnreadableCase> cases = {
      {"a directory", "Is a directory", [](const fs::path& path) { fs::create_directory(path); }},
  };
  if (::geteuid() != 0) {
    cases.push_back({"without read permission", "Permission denied", [](const fs::path& path) {
                       TempDirWrite(path, "[Settings]\r\nUsername=kept\r\n");
                       fs::permissions(path, fs::perms::none);
                     }});
  }
  return cases;
}

TEST_F(SettingsFileIntegrityTest, AnUnreadableFileIsNeverReplaced) {
  for (const UnreadableCase& c : UnreadableFiles()) {
    SCOPED_TRACE(c.what);
    TempDir own;
    fs::create_directory(own / "logs");
    World bot(own.Path());
    const fs::path path = own / "Varnek.ini";
    c.make(path);
    bot.controls.Get(ctl::kUsernameEdit).SetText("before");

    bot.settings.Load();
    EXPECT_FALSE(bot.settings.Loaded());
    EXPECT_EQ(bot.controls.Get(ctl::kUsernameEdit).Text(), "before");  // nothing was read, nothing changed
    ASSERT_EQ(bot.dialogs.messages.size(), 1u);
    EXPECT_EQ(bot.dialogs.messages[0].kind, DialogKind::Warning);
    EXPECT_NE(bot.dialogs.messages[0].text.find(path.string()), std::string::npos);
    EXPECT_NE(bot.dialogs.messages[0].text.find(c.reason), std::string::npos);
    ASSERT_EQ(bot.panes.Pane(PaneId::Status).Lines().size(), 1u);

    // Every way of saving refuses and says why; the file stays as it was.
    EXPECT_THROW(bot.settings.Save(), std::runtime_error);
    EXPECT_THROW(bot.settings.SaveIfLoaded(), std::runtime_error);
    bot.clock.now = 90000;
    bot.settings.Autosave();
    EXPECT_EQ(bot.ticks.autosave, 90000u);  // the next attempt waits for the next interval
    EXPECT_NE(bot.panes.Pane(PaneId::Status).Lines().back().find("not saved"), std::string::npos);
    bot.settings.SaveOrWarn();
    ASSERT_EQ(bot.dialogs.messages.size(), 2u);
    EXPECT_NE(bot.dialogs.messages[1].text.find(c.reason), std::string::npos);
    EXPECT_FALSE(fs::is_symlink(path));
    std::error_code ignored;
    fs::permissions(path, fs::perms::owner_all, ignored);
    if (fs::is_directory(path)) {
      EXPECT_TRUE(fs::is_empty(path));
      fs::remove(path);
    } else {
      EXPECT_EQ(TempDir::ReadFile(path), "[Settings]\r\nUsername=kept\r\n");
    }

    // Once the file can be read again, a reload takes it and saves work.
    TempDirWrite(path, "[Settings]\r\nUsername=fixed\r\n");
    bot.settings.Load();
    EXPECT_TRUE(bot.settings.Loaded());
    EXPECT_TRUE(bot.settings.ReadFailure().empty());
    EXPECT_EQ(bot.controls.Get(ctl::kUsernameEdit).Text(), "fixed");
    EXPECT_NO_THROW(bot.settings.Save());
    EXPECT_EQ(IniFile::Load(path).Read("Settings", "Username"), "fixed");
  }
}

TEST_F(SettingsFileIntegrityTest, AReloadFromAFileThatBecameUnreadableKeepsTheSettingsHeld) {
  WriteIni("[Settings]\r\nUsername=Guard\r\n[Nick patterns]\r\n0=*bot*\r\n");
  world.settings.Load();
  fs::remove(IniPath());
  fs::create_directory(IniPath());
  world.settings.Load();
  EXPECT_TRUE(world.settings.Loaded());
  EXPECT_EQ(Get(ctl::kUsernameEdit).Text(), "Guard");
  EXPECT_EQ(List(ctl::kKickNickListView).Rows(), (std::vector<std::string>{"*bot*"}));
  EXPECT_THROW(world.settings.SaveIfLoaded(), std::runtime_error);
  EXPECT_TRUE(fs::is_directory(IniPath()));
}

TEST_F(SettingsFileIntegrityTest, ALinkedFileIsReadAndWrittenThroughItsLink) {
  fs::create_directory(dir / "shared");
  const fs::path target = dir / "shared" / "bot.ini";
  dir.WriteFile("shared/bot.ini", "[Settings]\r\nUsername=Linked\r\n[Mine]\r\nkept=1\r\n");
  fs::create_symlink("shared/bot.ini", IniPath());  // relative, as people make them
  dir.WriteFile("shared/bot.ini.tmp123", "left over");

  world.settings.Load();
  EXPECT_EQ(Get(ctl::kUsernameEdit).Text(), "Linked");
  EXPECT_FALSE(fs::exists(dir / "shared" / "bot.ini.tmp123"));
  Get(ctl::kUsernameEdit).SetText("Changed");
  world.settings.Save();

  EXPECT_TRUE(fs::is_symlink(IniPath()));
  EXPECT_EQ(fs::read_symlink(IniPath()), "shared/bot.ini");
  const IniFile saved = IniFile::Load(target);
  EXPECT_EQ(saved.Read("Settings", "Username"), "Changed");
  EXPECT_EQ(saved.Read("Mine", "kept"), "1");
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir / "shared")) {
    ++entries;
  }
  EXPECT_EQ(entries, 1);

  // A link whose target is not there yet reads as a missing file, and the
  // first save creates the target.
  fs::remove(target);
  World fresh(dir.Path());
  fresh.settings.Load();
  EXPECT_TRUE(fresh.dialogs.messages.empty());
  fresh.settings.Save();
  EXPECT_TRUE(fs::is_symlink(IniPath()));
  EXPECT_TRUE(fs::is_regular_file(target));
}

// The user knows the file as Varnek.ini; the temporary file beside it that
// could not be written is a name they have never seen.
TEST_F(SettingsFileIntegrityTest, AFailedSaveNamesTheSettingsFileAndTheReason) {
  fs::create_symlink("gone/bot.ini", IniPath());  // a directory that is not there (fails for root too)
  world.settings.Load();
  Get(ctl::kUsernameEdit).SetText("Guard");

  try {
    world.settings.Save();
    FAIL() << "the save did not fail";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()), "The settings were not saved. Cannot write file \"" + IniPath().string() +
                                             "\": No such file or directory.");
  }
  world.settings.SaveOrWarn();
  ASSERT_EQ(world.dialogs.messages.size(), 1u);
  EXPECT_EQ(world.dialogs.messages[0].text.find(".tmp"), std::string::npos);
  EXPECT_NE(world.dialogs.messages[0].text.find("Varnek.ini\": No such file or directory"), std::string::npos);
}

}  // namespace
}  // namespace varnek
