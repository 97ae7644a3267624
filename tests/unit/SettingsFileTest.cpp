#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/model/KickTemplates.h"
#include "core/model/TickStamps.h"
#include "core/store/IniFile.h"
#include "core/store/LangTable.h"
#include "core/store/OutputPanes.h"
#include "core/store/SettingsFile.h"
#include "core/store/SettingsSchema.h"
#include "fakes/FakePorts.h"
#include "fakes/SettingsWorld.h"
#include "fakes/TempDir.h"

namespace varnek {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using Type = SettingEntry::Type;

using World = test::SettingsWorld;

class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFileTest() { fs::create_directory(dir / "logs"); }

  fs::path IniPath() const { return dir / "Varnek.ini"; }
  void WriteIni(std::string_view bytes) const { dir.WriteFile("Varnek.ini", bytes); }
  IniFile SavedIni() const { return IniFile::Load(IniPath()); }
  Control& Get(const char* name) { return world.controls.Get(name); }
  StringListModel& List(const char* name) { return world.controls.List(name); }
  // Loads a file whose section "Settings" holds only the given lines.
  void LoadSettings(const std::string& lines) {
    WriteIni("[Settings]\r\n" + lines);
    world.settings.Load();
  }

  TempDir dir;
  World world{dir.Path()};
};

TEST_F(SettingsFileTest, AFreshStartSavesEveryKeyInFileOrderWithItsDefault) {
  world.settings.Load();
  EXPECT_TRUE(world.settings.Loaded());
  world.settings.Save();

  const std::string expectedOrder =
      "Height Width Language Username Password Description Email Mode OpChat Message onMessage Autosave onAutosave "
      "Stamps Date Detections State ChatColor FontColor AlphaBlend Alpha Updates MyInfo onMyInfo KickFake KickProxy "
      "KickLimit Below Value KickClone KickNick KickIp KickDescription KickEmail KickTag KickShare KickUserHubs "
      "UserValue KickRegHubs RegValue KickOpHubs OpValue KickSameIp CommandFake RawFake CommandProxy RawProxy "
      "CommandLimit RawLimit CommandClone RawClone CommandNick RawNick CommandIp RawIp CommandDescription "
      "RawDescription CommandEmail RawEmail CommandTag RawTag CommandShare RawShare CommandHubs RawHubs "
      "CommandSameIp RawSameIp Operators Allowed ProtectedUsers ProtectedOperators Dns Port Connect Minimize LogNo "
      "LogFull LogNice Lines onLines LogChat LogLog LogStatus ScrollChat ScrollLog ScrollStatus Trigger Page Encoding "
      "ColumnWidths ColumnOrder Splitter LimitFromConnection NotifyPrivate NotifyKick NotifyDisconnect LogKicks";
  const IniFile file = SavedIni();
  std::string written;
  std::string fromSchema;
  for (const std::string& key : file.KeyNames("Settings")) {
    written += (written.empty() ? "" : " ") + key;
  }
  for (const SettingEntry& entry : SettingsSchema()) {
    if (entry.type != Type::ListSection) {
      fromSchema += (fromSchema.empty() ? "" : " ") + entry.key;
    }
  }
  EXPECT_EQ(written, expectedOrder);
  EXPECT_EQ(fromSchema, expectedOrder);

  const std::pair<const char*, const char*> defaults[] = {
      {"Height", "661"},
      {"Encoding", "windows-1252"},
      {"ColumnWidths", ""},
      {"ColumnOrder", ""},
      {"Splitter", "0"},
      {"LimitFromConnection", "0"},
      {"NotifyPrivate", "1"},
      {"NotifyKick", "0"},
      {"NotifyDisconnect", "1"},
      {"LogKicks", "1"},
      {"Width", "913"},
      {"Language", "English.lang"},
      {"Username", ""},
      {"Mode", "0"},
      {"Message", "I do not accept any private messages since I am a bot"},
      {"onMessage", "1"},
      {"Autosave", "60"},
      {"onAutosave", "1"},
      {"Stamps", "1"},
      {"Detections", "0"},
      {"ChatColor", "16777215"},
      {"FontColor", "0"},
      {"Alpha", "200"},
      {"MyInfo", "30"},
      {"Value", "2"},
      {"UserValue", "99"},
      {"OpValue", "99"},
      {"CommandFake", "!kick <nick> [auto kick] Fake share: <fake> B"},
      {"RawFake", "0"},
      {"CommandLimit", "!kick <nick> [auto kick] Upload limit: <limit> KiB/s"},
      {"CommandSameIp", "!kick <nick> [auto kick] Connection from same IP as <sameip>"},
      {"Operators", "1"},
      {"ProtectedOperators", "1"},
      {"Dns", ""},
      {"Port", ""},
      {"Minimize", "1"},
      {"LogNo", "0"},
      {"LogFull", "0"},
      {"LogNice", "1"},
      {"Lines", "500"},
      {"onLines", "1"},
      {"ScrollStatus", "1"},
      {"Trigger", "0"},
      {"Page", "0"},
  };
  for (const auto& [key, value] : defaults) {
    EXPECT_EQ(file.Read("Settings", key), value) << key;
  }

  // Sections follow in the order they are first written.
  const std::string bytes = TempDir::ReadFile(IniPath());
  EXPECT_TRUE(bytes.starts_with("[Settings]\r\nHeight=661\r\nWidth=913\r\nLanguage=English.lang\r\n"));
  std::size_t previous = 0;
  for (const char* section : {"[Settings]", "[Allowed users]", "[Protected users]", "[Nick patterns]", "[IP patterns]",
                              "[Description patterns]", "[Email patterns]", "[Tag patterns]", "[Share patterns]"}) {
    const std::size_t at = bytes.find(std::string(section) + "\r\n");
    ASSERT_NE(at, std::string::npos) << section;
    EXPECT_GE(at, previous) << section;
    previous = at;
  }
}

TEST_F(SettingsFileTest, AFreshStartLeavesTheControlsAtTheirDefaults) {
  world.settings.Load();
  EXPECT_FALSE(Get(ctl::kDetectionsCheckBox).Checked());
  EXPECT_TRUE(Get(ctl::kMessageCheckBox).Checked());
  EXPECT_EQ(Get(ctl::kBotMessageMemo).Text(), "I do not accept any private messages since I am a bot");
  EXPECT_EQ(Get(ctl::kMainFormWidth).Value(), 913);
  EXPECT_EQ(Get(ctl::kMainFormHeight).Value(), 661);
  EXPECT_EQ(Get(ctl::kHubIpEdit).Text(), "");
  EXPECT_EQ(Get(ctl::kHubPortEdit).Text(), "");
  EXPECT_TRUE(Get(ctl::kNiceLogCheckBox).Checked());
  for (const KickKindInfo& kind : KickKinds()) {
    EXPECT_EQ(Get(CommandEditName(kind).c_str()).Text(), kind.plainDefault);
    EXPECT_FALSE(Get(RawSwitchName(kind).c_str()).Checked());
  }
}

// Gives every setting a value other than its default, with the texts that are
// hard to store: line breaks, escapes, blanks and quotes at the ends.
void ChangeEverySetting(World& world) {
  int n = 0;
  for (const SettingEntry& entry : SettingsSchema()) {
    ++n;
    switch (entry.type) {
      case Type::String:
      case Type::Memo: {
        Control& control = world.controls.Get(entry.control);
        control.SetText("  \"" + entry.key + " &#10; value\"");
        break;
      }
      case Type::Integer: {
        Control& control = world.controls.Get(entry.control);
        control.SetValue(control.Minimum() < control.Maximum() ? control.Minimum() + 1 : 100000 + n);
        break;
      }
      case Type::Boolean:
        world.controls.Get(entry.control).SetChecked(entry.defaultInt == 0);
        break;
      case Type::PaneScroll:
        for (PaneId id : {PaneId::Chat, PaneId::Status, PaneId::Debug}) {
          world.panes.Pane(id).SetAutoScroll(false);
        }
        break;
      case Type::Index:
      case Type::DebugMode:
      case Type::ListSection:
        break;
    }
  }
  world.controls.Get(ctl::kBotMessageMemo).SetText("First line\r\nSecond line\r\n\r\n  indented &#13;");
  world.controls.Get(ctl::kHubPortEdit).SetText("4111");
  world.controls.Get(ctl::kModeComboBox).SetValue(1);
  world.controls.Get(ctl::kTriggerComboBox).SetValue(2);
  world.controls.Get(ctl::kPageControl).SetValue(6);
  world.controls.Get(ctl::kFullLogCheckBox).SetChecked(true);
  world.controls.List(ctl::kAllowedListView).Assign({"op*", " lead", "trail "});
  world.controls.List(ctl::kProtectedListView).Assign({"", "\"quoted\""});
  world.controls.List(ctl::kKickNickListView).Assign({"*bot*"});
  world.controls.List(ctl::kKickIpListView).Assign({"10.*", "192.168.*"});
  world.controls.List(ctl::kKickDescriptionListView).Assign({"a &#10; b", "line\r\nbreak", "&#38;"});
  world.controls.List(ctl::kKickEmailListView).Assign({"*@spam.invalid"});
  world.controls.List(ctl::kKickTagListView).Assign({"<++ V:0.1*"});
  world.controls.List(ctl::kKickShareListView).Assign({"1234567890", "0"});
}

void ExpectSameSettings(World& expected, World& actual) {
  for (const SettingEntry& entry : SettingsSchema()) {
    if (entry.type == Type::ListSection) {
      EXPECT_EQ(actual.controls.List(entry.control).Rows(), expected.controls.List(entry.control).Rows()) << entry.key;
    } else if (entry.type == Type::PaneScroll) {
      for (PaneId id : {PaneId::Chat, PaneId::Status, PaneId::Debug}) {
        EXPECT_EQ(actual.panes.Pane(id).AutoScroll(), expected.panes.Pane(id).AutoScroll());
      }
    } else {
      const Control& want = expected.controls.Get(entry.control);
      const Control& got = actual.controls.Get(entry.control);
      EXPECT_EQ(got.Text(), want.Text()) << entry.key;
      EXPECT_EQ(got.Value(), want.Value()) << entry.key;
    }
  }
}

TEST_F(SettingsFileTest, EverySettingAndListReadsBackAsSaved) {
  ChangeEverySetting(world);
  world.settings.Save();

  World reloaded(dir.Path());
  reloaded.settings.Load();
  ExpectSameSettings(world, reloaded);
  EXPECT_EQ(reloaded.controls.Get(ctl::kBotMessageMemo).Text(), "First line\r\nSecond line\r\n\r\n  indented &#13;");
  EXPECT_EQ(reloaded.controls.Get(ctl::kDescriptionEdit).Text(), "  \"Description &#10; value\"");
  EXPECT_TRUE(reloaded.controls.Get(ctl::kFullLogCheckBox).Checked());
  EXPECT_FALSE(reloaded.controls.Get(ctl::kNiceLogCheckBox).Checked());
  EXPECT_EQ(reloaded.controls.Get(ctl::kTriggerComboBox).Value(), 2);
  EXPECT_EQ(reloaded.controls.Get(ctl::kPageControl).Value(), 6);
  EXPECT_EQ(reloaded.controls.Get(ctl::kKickLimitBelowSpinEdit).Value(), 3);

  // Shorter lists replace longer ones, in the file and after a reload.
  world.controls.List(ctl::kAllowedListView).Assign({"first", "second"});
  world.controls.List(ctl::kKickTagListView).Clear();
  world.settings.Save();
  EXPECT_EQ(SavedIni().KeyNames("Allowed users"), (std::vector<std::string>{"0", "1"}));
  reloaded.settings.Load();
  EXPECT_EQ(reloaded.controls.List(ctl::kAllowedListView).Rows(), (std::vector<std::string>{"first", "second"}));
  EXPECT_TRUE(reloaded.controls.List(ctl::kKickTagListView).Rows().empty());
}

TEST_F(SettingsFileTest, ABotMessageFullOfLineBreaksSurvivesTheValueLengthLimit) {
  std::string message;
  for (int i = 0; i < 500; ++i) {
    message += "\r\n";
  }
  message.replace(0, 4, "Hi\r\n");
  Get(ctl::kBotMessageMemo).SetText(message);
  ASSERT_EQ(Get(ctl::kBotMessageMemo).Text().size(), 1000u);
  world.settings.Save();
  World reloaded(dir.Path());
  reloaded.settings.Load();
  EXPECT_EQ(reloaded.controls.Get(ctl::kBotMessageMemo).Text(), message);
}

TEST_F(SettingsFileTest, AListReadsAsManyEntriesAsItsSectionHoldsKeys) {
  WriteIni("[nick PATTERNS]\r\n0=first\r\n1= second \r\n5=fifth\r\n");
  world.settings.Load();
  EXPECT_EQ(List(ctl::kKickNickListView).Rows(), (std::vector<std::string>{"first", "second", ""}));
}

TEST_F(SettingsFileTest, AMissingListSectionKeepsTheListAndAnEmptyOneEmptiesIt) {
  List(ctl::kKickIpListView).Assign({"10.*"});
  List(ctl::kKickTagListView).Assign({"<x>"});
  WriteIni("[Tag patterns]\r\n");
  world.settings.Load();
  EXPECT_EQ(List(ctl::kKickIpListView).Rows(), (std::vector<std::string>{"10.*"}));
  EXPECT_TRUE(List(ctl::kKickTagListView).Rows().empty());
}

TEST_F(SettingsFileTest, SavingFewerEntriesRemovesTheOldKeys) {
  WriteIni("[Nick patterns]\r\n0=a\r\n1=b\r\n2=c\r\n");
  world.settings.Load();
  List(ctl::kKickNickListView).RemoveAt(1);
  world.settings.Save();
  const IniFile file = SavedIni();
  EXPECT_EQ(file.KeyNames("Nick patterns"), (std::vector<std::string>{"0", "1"}));
  EXPECT_EQ(file.Read("Nick patterns", "1"), "c");
}

TEST_F(SettingsFileTest, NumbersAreClampedToTheirControlAndNonNumbersTakeTheDefault) {
  struct Case {
    const char* line;
    const char* control;
    int value;
  };
  const Case cases[] = {
      {"Value=0", ctl::kKickLimitBelowSpinEdit, 2},     {"Value=99999999999", ctl::kKickLimitBelowSpinEdit, 2},
      {"Value=150", ctl::kKickLimitBelowSpinEdit, 150}, {"Lines=5", ctl::kMaximumCountSpinEdit, 10},
      {"Lines= 20 ", ctl::kMaximumCountSpinEdit, 20},   {"Lines=20000", ctl::kMaximumCountSpinEdit, 10000},
      {"UserValue=5000", ctl::kUserHubsSpinEdit, 999},  {"RegValue=-3", ctl::kRegHubsSpinEdit, 0},
      {"Autosave=sixty", ctl::kAutosaveSpinEdit, 60},   {"Autosave=", ctl::kAutosaveSpinEdit, 60},
      {"MyInfo=1", ctl::kTryInfoSpinEdit, 5},           {"Alpha=300", ctl::kAlphaBlendTrackBar, 255},
      {"Height=tall", ctl::kMainFormHeight, 661},       {"Width=1024", ctl::kMainFormWidth, 1024},
      {"ChatColor=$FF", ctl::kChatColorDialog, 255},
  };
  for (const Case& c : cases) {
    LoadSettings(std::string(c.line) + "\r\n");
    EXPECT_EQ(Get(c.control).Value(), c.value) << c.line;
  }
}

TEST_F(SettingsFileTest, SwitchesAreTrueForEveryNumberButZero) {
  struct Case {
    const char* line;
    const char* control;
    bool checked;
  };
  const Case cases[] = {
      {"Detections=1", ctl::kDetectionsCheckBox, true},  {"Detections=5", ctl::kDetectionsCheckBox, true},
      {"Detections=-1", ctl::kDetectionsCheckBox, true}, {"Detections=yes", ctl::kDetectionsCheckBox, false},
      {"onMessage=0", ctl::kMessageCheckBox, false},     {"onMessage=no", ctl::kMessageCheckBox, true},
      {"Stamps=0", ctl::kTimestampsCheckBox, false},     {"Operators=", ctl::kCmdOpsCheckBox, true},
  };
  for (const Case& c : cases) {
    LoadSettings(std::string(c.line) + "\r\n");
    EXPECT_EQ(Get(c.control).Checked(), c.checked) << c.line;
  }
}

TEST_F(SettingsFileTest, ATemplateHoldingAPlaceholderBringsBackAllPlainDefaults) {
  LoadSettings(
      "CommandFake=custom fake\r\nRawFake=1\r\nCommandNick=$Kick <nick>|\r\nRawNick=1\r\n"
      "CommandProxy=!kick <nick> %s\r\nRawSameIp=1\r\n");
  for (const KickKindInfo& kind : KickKinds()) {
    EXPECT_EQ(Get(CommandEditName(kind).c_str()).Text(), kind.plainDefault) << kind.name;
    EXPECT_FALSE(Get(RawSwitchName(kind).c_str()).Checked()) << kind.name;
  }

  // Without "%s" the stored templates stay, a lone "%" included.
  LoadSettings("CommandFake=100% fake\r\nRawNick=1\r\nCommandNick=$Kick <nick>|\r\n");
  EXPECT_EQ(Get(ctl::kKickFakeCommandEdit).Text(), "100% fake");
  EXPECT_EQ(Get(ctl::kKickNickCommandEdit).Text(), "$Kick <nick>|");
  EXPECT_TRUE(Get(ctl::kRawNickCheckBox).Checked());
}

TEST_F(SettingsFileTest, ChoicesOutsideTheirListSelectTheFirstItem) {
  struct Case {
    const char* line;
    const char* control;
    int value;
  };
  const Case cases[] = {
      {"Page=6", ctl::kPageControl, 6},          {"Page=11", ctl::kPageControl, 11},
      {"Page=12", ctl::kPageControl, 0},         {"Page=-1", ctl::kPageControl, 0},
      {"Trigger=10", ctl::kTriggerComboBox, 10}, {"Trigger=11", ctl::kTriggerComboBox, 0},
      {"Trigger=x", ctl::kTriggerComboBox, 0},   {"Mode=1", ctl::kModeComboBox, 1},
  };
  for (const Case& c : cases) {
    LoadSettings(std::string(c.line) + "\r\n");
    EXPECT_EQ(Get(c.control).Value(), c.value) << c.line;
  }
}

// The encoding is chosen by name: the window shows and the hub's text is
// converted with one and the same item. A name that is none of them stays as
// written, for the program's fallback.
TEST_F(SettingsFileTest, AnEncodingIsOneOfItsItemsInAnyCaseAndAnEmptyOneTheDefault) {
  const std::pair<const char*, const char*> cases[] = {
      {"Encoding=UTF-8", "UTF-8"},   {"Encoding=utf-8", "UTF-8"},     {"Encoding=KOI8-r", "KOI8-R"},
      {"Encoding=", "windows-1252"}, {"Encoding=latin-9", "latin-9"}, {"Encoding=windows-1250", "windows-1250"},
  };
  for (const auto& [line, chosen] : cases) {
    LoadSettings(std::string(line) + "\r\n");
    EXPECT_EQ(Get(ctl::kEncodingComboBox).Text(), chosen) << line;
  }
}

TEST_F(SettingsFileTest, DebugModeKeysSelectOnlyWhenTrue) {
  Get(ctl::kFullLogCheckBox).SetChecked(true);
  LoadSettings("LogNo=0\r\nLogFull=0\r\nLogNice=0\r\n");
  EXPECT_TRUE(Get(ctl::kFullLogCheckBox).Checked());
  LoadSettings("");
  EXPECT_TRUE(Get(ctl::kFullLogCheckBox).Checked());
  LoadSettings("LogNo=1\r\nLogNice=0\r\n");
  EXPECT_TRUE(Get(ctl::kNoLogCheckBox).Checked());
  EXPECT_FALSE(Get(ctl::kFullLogCheckBox).Checked());
  LoadSettings("LogNo=1\r\nLogFull=0\r\nLogNice=1\r\n");
  EXPECT_TRUE(Get(ctl::kNiceLogCheckBox).Checked());
  EXPECT_FALSE(Get(ctl::kNoLogCheckBox).Checked());
}

TEST_F(SettingsFileTest, GarbageFilesLoadWithoutHarm) {
  std::mt19937 random(20261210);
  std::string noise(64 * 1024, '\0');
  for (char& c : noise) {
    c = static_cast<char>(random() & 0xFF);
  }
  const std::string huge(100 * 1024, 'x');
  const std::string files[] = {
      noise,
      std::string(4096, '\0'),
      "[Settings]\r\nUsername=" + huge + "\r\nMessage=" + huge + "\r\nHeight=" + huge +
          "\r\n[Nick patterns]\r\n0=" + huge + "\r\n",
      "[Settings]\r\nHeight=700\r\nheight=800\r\n[settings]\r\nWidth=1\r\n[Nick patterns]\r\n0=a\r\n0=b\r\n",
      "Height=700\r\n[Share patterns\r\n0=1\r\n[]\r\n=\r\n[Settings]Width=5\r\n",
  };
  for (const std::string& bytes : files) {
    WriteIni(bytes);
    World fresh(dir.Path());
    fresh.settings.Load();
    EXPECT_TRUE(fresh.settings.Loaded());
    EXPECT_NO_THROW(fresh.settings.Save());
  }

  WriteIni(files[2]);
  world.settings.Load();
  EXPECT_EQ(Get(ctl::kUsernameEdit).Text(), std::string(2047, 'x'));
  EXPECT_EQ(Get(ctl::kBotMessageMemo).Text(), std::string(2047, 'x'));
  EXPECT_EQ(Get(ctl::kMainFormHeight).Value(), 661);
  EXPECT_EQ(List(ctl::kKickNickListView).Rows(), (std::vector<std::string>{std::string(2047, 'x')}));

  WriteIni(files[3]);
  world.settings.Load();
  EXPECT_EQ(Get(ctl::kMainFormHeight).Value(), 700);
  EXPECT_EQ(Get(ctl::kMainFormWidth).Value(), 913);
  EXPECT_EQ(List(ctl::kKickNickListView).Rows(), (std::vector<std::string>{"a", ""}));
}

TEST_F(SettingsFileTest, SaveReportsRestartsTheAutosaveAndKeepsForeignSections) {
  WriteIni("[Mine]\r\nkept=1\r\n[Settings]\r\nObsolete=1\r\nHeight=700\r\n");
  world.settings.Load();
  world.clock.now = 123456;
  world.settings.Save();

  EXPECT_EQ(world.panes.Pane(PaneId::Status).Lines(),
            (std::vector<std::string>{"[2026-12-10 @ 14:05:09]: Settings was succesfully saved"}));
  EXPECT_EQ(world.ticks.autosave, 123456u);
  const IniFile file = SavedIni();
  EXPECT_EQ(file.Read("Mine", "kept"), "1");
  EXPECT_FALSE(file.HasKey("Settings", "Obsolete"));
  EXPECT_EQ(file.Read("Settings", "Height"), "700");
  struct stat info {};
  ASSERT_EQ(::stat(IniPath().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(SettingsFileTest, SaveIfLoadedWaitsForACompleteLoad) {
  world.settings.SaveIfLoaded();
  EXPECT_FALSE(fs::exists(IniPath()));
  world.settings.Load();
  world.settings.SaveIfLoaded();
  EXPECT_TRUE(fs::exists(IniPath()));
}

TEST_F(SettingsFileTest, AFailedSaveThrowsBeforeReporting) {
  World elsewhere(dir / "missing");
  elsewhere.settings.Load();
  elsewhere.clock.now = 5000;
  EXPECT_THROW(elsewhere.settings.Save(), std::runtime_error);
  EXPECT_TRUE(elsewhere.panes.Pane(PaneId::Status).Lines().empty());
  EXPECT_EQ(elsewhere.ticks.autosave, 0u);
}

TEST_F(SettingsFileTest, ASaveWhoseReportCannotBeLoggedStillCountsAsDone) {
  fs::create_directory(dir / "without logs");
  World noLogs(dir / "without logs");
  noLogs.settings.Load();
  noLogs.controls.Get(ctl::kLogStatusCheckBox).SetChecked(true);
  noLogs.controls.Get(ctl::kMaximumCountSpinEdit).SetValue(10);
  for (int i = 0; i < 10; ++i) {
    noLogs.panes.StatusLog("status");
  }
  noLogs.clock.now = 777;
  EXPECT_THROW(noLogs.settings.Save(), std::runtime_error);
  EXPECT_TRUE(fs::exists(dir / "without logs" / "Varnek.ini"));
  EXPECT_EQ(noLogs.ticks.autosave, 777u);
}

}  // namespace
}  // namespace varnek
