#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/store/LangTable.h"
#include "core/store/OutputPanes.h"
#include "fakes/FakePorts.h"
#include "fakes/TempDir.h"

namespace varnek {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

constexpr const char* kStamp = "[2026-12-10 @ 14:05:09]: ";

class OutputPanesTest : public ::testing::Test {
 protected:
  OutputPanesTest() { fs::create_directory(dir / "logs"); }

  void Check(const char* name, bool on) { controls.Get(name).SetChecked(on); }
  void SetLimit(int lines) { controls.Get(ctl::kMaximumCountSpinEdit).SetValue(lines); }
  std::string LogFile(const char* name) const { return TempDir::ReadFile(dir / "logs" / name); }
  bool LogExists(const char* name) const { return fs::exists(dir / "logs" / name); }
  const std::vector<std::string>& Lines(PaneId id) const { return panes.Pane(id).Lines(); }

  // The lines as the log file receives them: each with CR LF, one more CR LF
  // closing the block.
  static std::string Block(const std::vector<std::string>& lines) {
    std::string block;
    for (const auto& line : lines) {
      block += line + "\r\n";
    }
    return block + "\r\n";
  }

  // Adds `count` numbered lines and returns them as the pane shows them.
  std::vector<std::string> AddNumbered(PaneId id, int count, const std::string& word = "line") {
    std::vector<std::string> added;
    for (int i = 1; i <= count; ++i) {
      const std::string text = word + " " + std::to_string(i);
      panes.AddLine(id, text);
      added.push_back(kStamp + text);
    }
    return added;
  }

  TempDir dir;
  ControlModel controls;
  LangTable lang;
  test::FakeClock clock;
  OutputPanes panes{controls, lang, clock, dir / "logs"};
};

TEST_F(OutputPanesTest, LinePrefixFollowsTheTimeStampSwitches) {
  struct Case {
    bool stamps;
    bool date;
    const char* line;
  };
  const Case cases[] = {
      {false, false, "text"},
      {false, true, "text"},
      {true, false, "[14:05:09]: text"},
      {true, true, "[2026-12-10 @ 14:05:09]: text"},
  };
  for (const Case& c : cases) {
    Check(ctl::kTimestampsCheckBox, c.stamps);
    Check(ctl::kTimestampsDateCheckBox, c.date);
    panes.StatusLog("text");
    EXPECT_EQ(Lines(PaneId::Status).back(), c.line) << c.stamps << c.date;
    // What an output with a time of its own leaves out.
    EXPECT_EQ(Lines(PaneId::Status).back().substr(panes.LastStampLength()), "text") << c.stamps << c.date;
  }
  // The time is read anew for every line.
  clock.time = "23:59:58";
  panes.ChatLine("later");
  EXPECT_EQ(Lines(PaneId::Chat).back(), "[2026-12-10 @ 23:59:58]: later");
}

TEST_F(OutputPanesTest, StatusLogWithAnEmptyTextStillAddsALine) {
  panes.StatusLog("");
  Check(ctl::kTimestampsCheckBox, false);
  panes.StatusLog("");
  EXPECT_EQ(Lines(PaneId::Status), (std::vector<std::string>{kStamp, ""}));
}

TEST_F(OutputPanesTest, DebugModesExcludeEachOtherAndNiceLinesNeedNiceOutput) {
  Check(ctl::kTimestampsCheckBox, false);
  EXPECT_EQ(panes.Mode(), DebugMode::NiceOutput);
  panes.NiceLine(LangReceiving, {"$Hello"});
  EXPECT_EQ(Lines(PaneId::Debug), (std::vector<std::string>{"Receiving $Hello"}));

  Check(ctl::kFullLogCheckBox, true);
  EXPECT_FALSE(controls.Get(ctl::kNiceLogCheckBox).Checked());
  EXPECT_FALSE(controls.Get(ctl::kNoLogCheckBox).Checked());
  EXPECT_TRUE(panes.FullDebug());
  panes.NiceLine(LangSending, {"$MyINFO"});

  Check(ctl::kNoLogCheckBox, true);
  EXPECT_FALSE(controls.Get(ctl::kFullLogCheckBox).Checked());
  EXPECT_EQ(panes.Mode(), DebugMode::Nothing);
  panes.NiceLine(LangSending, {"$MyINFO"});
  EXPECT_EQ(Lines(PaneId::Debug).size(), 1u);
}

TEST_F(OutputPanesTest, TheEleventhStatusLineFlushesAndLeavesOnlyTheSavedMessage) {
  SetLimit(10);
  Check(ctl::kLogStatusCheckBox, true);
  const auto ten = AddNumbered(PaneId::Status, 10);
  EXPECT_EQ(Lines(PaneId::Status), ten);
  EXPECT_FALSE(LogExists("status.txt")) << "the limit is exceeded only by more lines than it allows";

  panes.StatusLog("line 11");
  auto eleven = ten;
  eleven.push_back(std::string(kStamp) + "line 11");
  EXPECT_EQ(LogFile("status.txt"), Block(eleven));
  EXPECT_EQ(Lines(PaneId::Status),
            (std::vector<std::string>{std::string(kStamp) + "Status log was succesfully saved"}));
}

TEST_F(OutputPanesTest, TheEleventhChatOrDebugLineFlushesAndReportsInTheStatusPane) {
  struct Case {
    PaneId pane;
    const char* logSwitch;
    const char* file;
    const char* saved;
  };
  const Case cases[] = {
      {PaneId::Chat, ctl::kLogChatCheckBox, "chat.txt", "Hub chat log was succesfully saved"},
      {PaneId::Debug, ctl::kLogDebugCheckBox, "log.txt", "Debug log was succesfully saved"},
  };
  SetLimit(10);
  for (const Case& c : cases) {
    Check(c.logSwitch, true);
    const auto lines = AddNumbered(c.pane, 11);
    EXPECT_EQ(LogFile(c.file), Block(lines));
    EXPECT_TRUE(Lines(c.pane).empty());
    EXPECT_EQ(Lines(PaneId::Status).back(), std::string(kStamp) + c.saved);
  }
  EXPECT_EQ(Lines(PaneId::Status).size(), 2u);
  EXPECT_FALSE(LogExists("status.txt"));
}

TEST_F(OutputPanesTest, AChatReportThatFillsTheStatusPaneFlushesItInTurn) {
  SetLimit(10);
  Check(ctl::kLogChatCheckBox, true);
  Check(ctl::kLogStatusCheckBox, true);
  auto status = AddNumbered(PaneId::Status, 10, "status");
  AddNumbered(PaneId::Chat, 11, "chat");
  status.push_back(std::string(kStamp) + "Hub chat log was succesfully saved");
  EXPECT_EQ(LogFile("status.txt"), Block(status));
  EXPECT_EQ(Lines(PaneId::Status),
            (std::vector<std::string>{std::string(kStamp) + "Status log was succesfully saved"}));
}

TEST_F(OutputPanesTest, WithoutTheLogSwitchTheLimitDropsTheLines) {
  SetLimit(10);
  AddNumbered(PaneId::Chat, 11);
  EXPECT_TRUE(Lines(PaneId::Chat).empty());
  EXPECT_TRUE(Lines(PaneId::Status).empty());
  EXPECT_TRUE(fs::is_empty(dir / "logs"));
}

TEST_F(OutputPanesTest, WithTheLimitSwitchedOffPanesGrowAndNothingIsWritten) {
  SetLimit(10);
  Check(ctl::kLinesCountCheckBox, false);
  Check(ctl::kLogStatusCheckBox, true);
  Check(ctl::kLogChatCheckBox, true);
  AddNumbered(PaneId::Status, 25);
  AddNumbered(PaneId::Chat, 25);
  EXPECT_EQ(Lines(PaneId::Status).size(), 25u);
  EXPECT_EQ(Lines(PaneId::Chat).size(), 25u);
  EXPECT_TRUE(fs::is_empty(dir / "logs"));
}

TEST_F(OutputPanesTest, FlushesAppendAndNeverOverwrite) {
  dir.WriteFile("logs/chat.txt", "from an earlier run\r\n\r\n");
  SetLimit(10);
  Check(ctl::kLogChatCheckBox, true);
  const auto first = AddNumbered(PaneId::Chat, 11, "first");
  const auto second = AddNumbered(PaneId::Chat, 11, "second");
  EXPECT_EQ(LogFile("chat.txt"), "from an earlier run\r\n\r\n" + Block(first) + Block(second));
}

TEST_F(OutputPanesTest, AFailedFlushThrowsAndThePaneKeepsItsLines) {
  OutputPanes broken(controls, lang, clock, dir / "missing logs");
  SetLimit(10);
  Check(ctl::kLogStatusCheckBox, true);
  Check(ctl::kLogChatCheckBox, true);
  for (int i = 1; i <= 10; ++i) {
    broken.ChatLine("chat");
    broken.StatusLog("status");
  }
  EXPECT_THROW(broken.ChatLine("chat"), std::runtime_error);
  EXPECT_EQ(broken.Pane(PaneId::Chat).Lines().size(), 11u);
  EXPECT_EQ(broken.Pane(PaneId::Status).Lines().size(), 10u);
  EXPECT_THROW(broken.StatusLog("status"), std::runtime_error);
  EXPECT_EQ(broken.Pane(PaneId::Status).Lines().size(), 11u);
  EXPECT_FALSE(fs::exists(dir / "missing logs"));
}

TEST_F(OutputPanesTest, ClearDropsTheLinesWithoutWritingThem) {
  Check(ctl::kLogDebugCheckBox, true);
  panes.DebugLine("one");
  panes.DebugLine("two");
  panes.Clear(PaneId::Debug);
  EXPECT_TRUE(Lines(PaneId::Debug).empty());
  EXPECT_EQ(panes.Pane(PaneId::Debug).ShownLineCount(), 0u);
  EXPECT_TRUE(fs::is_empty(dir / "logs"));
}

class ClearRecorder : public OutputPanes::Listener {
 public:
  void OnLineAdded(const OutputPane&, const std::string&) override {}
  void OnPaneCleared(const OutputPane& pane) override { cleared.push_back(pane.ControlName()); }
  std::vector<std::string> cleared;
};

TEST_F(OutputPanesTest, FlushOnExitWritesTheLoggedPanesThenEmptiesAll) {
  Check(ctl::kLogStatusCheckBox, true);
  Check(ctl::kLogDebugCheckBox, true);
  const auto status = AddNumbered(PaneId::Status, 2, "status");
  AddNumbered(PaneId::Chat, 2, "chat");
  const auto debug = AddNumbered(PaneId::Debug, 3, "debug");
  ClearRecorder recorder;
  panes.AddListener(&recorder);
  panes.FlushOnExit();
  panes.RemoveListener(&recorder);

  EXPECT_EQ(LogFile("status.txt"), Block(status));
  EXPECT_FALSE(LogExists("chat.txt"));
  EXPECT_EQ(LogFile("log.txt"), Block(debug));
  EXPECT_EQ(recorder.cleared, (std::vector<std::string>{ctl::kStatusMemo, ctl::kChatMemo, ctl::kLogMemo}));
  for (PaneId id : {PaneId::Chat, PaneId::Status, PaneId::Debug}) {
    EXPECT_TRUE(Lines(id).empty());
  }
}

TEST_F(OutputPanesTest, FlushOnExitWritesStatusThenChatThenDebug) {
  Check(ctl::kLogStatusCheckBox, true);
  Check(ctl::kLogChatCheckBox, true);
  Check(ctl::kLogDebugCheckBox, true);
  panes.StatusLog("status");
  panes.ChatLine("chat");
  panes.DebugLine("debug");
  // A chat log that cannot be opened stops the exit flush after the status
  // pane and before the debug pane, and no pane loses its lines.
  fs::create_directory(dir / "logs" / "chat.txt");
  EXPECT_THROW(panes.FlushOnExit(), std::runtime_error);
  EXPECT_EQ(LogFile("status.txt"), Block({std::string(kStamp) + "status"}));
  EXPECT_FALSE(LogExists("log.txt"));
  EXPECT_EQ(Lines(PaneId::Chat).size(), 1u);
  EXPECT_EQ(Lines(PaneId::Debug).size(), 1u);
}

TEST_F(OutputPanesTest, ALineHoldingALineBreakCountsTwiceForTheLimit) {
  SetLimit(10);
  Check(ctl::kTimestampsCheckBox, false);
  for (int i = 0; i < 5; ++i) {
    panes.ChatLine("first half\r\nsecond half");
  }
  EXPECT_EQ(Lines(PaneId::Chat).size(), 5u);
  EXPECT_EQ(panes.Pane(PaneId::Chat).ShownLineCount(), 10u);
  panes.ChatLine("one more");
  EXPECT_TRUE(Lines(PaneId::Chat).empty());
}

}  // namespace
}  // namespace varnek
