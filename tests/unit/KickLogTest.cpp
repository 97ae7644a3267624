#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/BotActions.h"
#include "core/model/ControlNames.h"
#include "core/store/FileAccess.h"
#include "core/store/KickLog.h"
#include "core/store/OutputPanes.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

using Lines = std::vector<std::string>;

// The fake clock's date and time, as every line begins.
constexpr std::string_view kNow = "2026-12-10 @ 14:05:09\t";

const std::string kBobInfo = "$MyINFO $ALL bob files<++ V:0.7,M:5,H:5/0/7,S:3>$ $DSL\x01$b@x$5000000000$";

Lines SplitLines(const std::string& text) {
  Lines lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start) + " <no CR LF>");
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

TEST(AppendKickLogLine, HoldsEightTabSeparatedFieldsAndEscapesWhatWouldBreakTheLine) {
  struct Case {
    const char* name;
    KickLogEntry entry;
    std::string line;
  };
  const Case cases[] = {
      {"kicked",
       {"bob", "10.0.0.1", "Tag", "*V:0.1*", "<Guard> !kick bob x|", "$MyINFO $ALL bob <V:0.1>$ $\x01$$1$"},
       "T\tbob\t10.0.0.1\tTag\t*V:0.1*\tkicked\t<Guard> !kick bob x|\t$MyINFO $ALL bob <V:0.1>$ $\x01$$1$"},
      {"reported, no IP yet", {"bob", "", "Proxy", "5", "", "$MyINFO x"}, "T\tbob\t\tProxy\t5\treported\t\t$MyINFO x"},
      {"tab, CR, LF and backslash",
       {"a\\b", "", "Description", "*\t*", "", "$MyINFO $ALL a\\b one\ttwo\r\nthree$"},
       "T\ta\\\\b\t\tDescription\t*\\t*\treported\t\t$MyINFO $ALL a\\\\b one\\ttwo\\r\\nthree$"},
  };
  for (const Case& c : cases) {
    std::string line;
    AppendKickLogLine(line, "T", c.entry);
    EXPECT_EQ(line, c.line) << c.name;
  }
}

// The nick of each line.
Lines NicksOf(const Lines& lines) {
  Lines nicks;
  for (const std::string& line : lines) {
    const std::size_t first = line.find('\t');
    nicks.push_back(line.substr(first + 1, line.find('\t', first + 1) - first - 1));
  }
  return nicks;
}

// A logged-in bot "Guard" with detections on and every kick switch off; the
// kick log is on by default.
struct LoggingBot {
  LoggingBot() {
    f.LogIn("Guard");
    f.PlainLines();
    f.control(ctl::kDetectionsCheckBox).SetChecked(true);
  }

  std::filesystem::path File() const { return f.dir / "logs" / "kicks.txt"; }
  Lines Logged() const { return SplitLines(test::TempDir::ReadFile(File())); }
  Lines LoggedNicks(const std::filesystem::path& file) const {
    return NicksOf(SplitLines(test::TempDir::ReadFile(file)));
  }

  // A user who uses a proxy (mode 5), with a share of his own so that no two
  // are clones: one line each.
  void Find(const std::string& nick) {
    static int share = 100;
    f.Receive("$MyINFO $ALL " + nick + " <++ V:1,M:5,H:1/0/0,S:3>$ $DSL\x01$$" + std::to_string(++share) + "$|");
  }

  test::BotFixture f;
};

// Interrupts a call that waits (the open of a FIFO that has no other end)
// after two seconds, so that such a test fails with EINTR instead of hanging.
class WaitLimit {
 public:
  WaitLimit() {
    struct sigaction interrupt {};
    interrupt.sa_handler = [](int) {};
    sigemptyset(&interrupt.sa_mask);
    interrupt.sa_flags = 0;  // no SA_RESTART: the waiting call returns EINTR
    sigaction(SIGALRM, &interrupt, &previous_);
    alarm(2);
  }
  WaitLimit(const WaitLimit&) = delete;
  WaitLimit& operator=(const WaitLimit&) = delete;
  ~WaitLimit() {
    alarm(0);
    sigaction(SIGALRM, &previous_, nullptr);
  }

 private:
  struct sigaction previous_ {};
};

class KickLogTest : public ::testing::Test, public LoggingBot {};

// Every found user leaves one line with the evidence: what matched, what was
// sent (nothing when he was only reported) and the command as the hub sent it.
TEST_F(KickLogTest, EachFindingAppendsOneLineWithItsEvidence) {
  struct Case {
    const char* name;
    std::function<void(test::BotFixture&)> setUp;
    std::string received;
    Lines lines;  // after the date and time
  };
  const Case cases[] = {
      {"reported only: the fake share",
       [](test::BotFixture&) {},
       "$MyINFO $ALL bob <++ V:1,M:A,H:1/0/0,S:3>$ $DSL\x01$$5000000000$|",
       {"bob\t\tFake\t5000000000\treported\t\t$MyINFO $ALL bob <++ V:1,M:A,H:1/0/0,S:3>$ $DSL\x01$$5000000000$"}},
      {"plain kick with the kick message, IP known",
       [](test::BotFixture& b) {
         b.control(ctl::kKickTagCheckBox).SetChecked(true);
         b.control(ctl::kKickToStatusCheckBox).SetChecked(true);
         b.controls().List(ctl::kKickTagListView).Append("*V:0.1*");
         b.Receive("$UserIP bob 10.0.0.9|");
       },
       "$MyINFO $ALL bob <++ V:0.1,M:A,H:1/0/0,S:3>$ $DSL\x01$$1$|",
       {"bob\t10.0.0.9\tTag\t*V:0.1*\tkicked\t<Guard> !kick bob [auto kick] Forbidden tag pattern: *V:0.1*|<Guard> is "
        "kicking bob because: [auto kick] Forbidden tag pattern: *V:0.1*|\t$MyINFO $ALL bob <++ "
        "V:0.1,M:A,H:1/0/0,S:3>$ $DSL\x01$$1$"}},
      {"raw kick: the commands as one write",
       [](test::BotFixture& b) {
         b.control(ctl::kKickProxyCheckBox).SetChecked(true);
         b.control(ctl::kRawProxyCheckBox).SetChecked(true);
         b.control(ctl::kKickProxyCommandEdit).SetText("$Kick <nick>|<<mynick>> bye <nick>");
       },
       "$MyINFO $ALL bob <++ V:1,M:5,H:1/0/0,S:3>$ $DSL\x01$$1$|",
       {"bob\t\tProxy\t5\tkicked\t$Kick bob|<Guard> bye bob|\t$MyINFO $ALL bob <++ V:1,M:5,H:1/0/0,S:3>$ "
        "$DSL\x01$$1$"}},
      {"a raw kick the send path refuses sends nothing, so it is a report",
       [](test::BotFixture& b) {
         b.control(ctl::kKickProxyCheckBox).SetChecked(true);
         b.control(ctl::kRawProxyCheckBox).SetChecked(true);
         b.control(ctl::kKickProxyCommandEdit).SetText("Kick <nick>");
       },
       "$MyINFO $ALL bob <++ V:1,M:5,H:1/0/0,S:3>$ $DSL\x01$$1$|",
       {"bob\t\tProxy\t5\treported\t\t$MyINFO $ALL bob <++ V:1,M:5,H:1/0/0,S:3>$ $DSL\x01$$1$"}},
      {"each hub count that is too high, by its own name and value",
       [](test::BotFixture& b) {
         b.control(ctl::kUserHubsSpinEdit).SetValue(2);
         b.control(ctl::kOpHubsSpinEdit).SetValue(2);
       },
       "$MyINFO $ALL bob <++ V:1,M:A,H:5/0/7,S:3>$ $DSL\x01$$1$|",
       {"bob\t\tUserHubs\t5\treported\t\t$MyINFO $ALL bob <++ V:1,M:A,H:5/0/7,S:3>$ $DSL\x01$$1$",
        "bob\t\tOpHubs\t7\treported\t\t$MyINFO $ALL bob <++ V:1,M:A,H:5/0/7,S:3>$ $DSL\x01$$1$"}},
      {"the examined entry of a $UserIP list",
       [](test::BotFixture& b) {
         b.control(ctl::kKickIpCheckBox).SetChecked(true);
         b.controls().List(ctl::kKickIpListView).Append("192.0.2.*");
       },
       "$UserIP ann 198.51.100.4$$carol 192.0.2.77$$|",
       {"carol\t192.0.2.77\tIp\t192.0.2.*\tkicked\t<Guard> !kick carol [auto kick] Forbidden IP pattern: "
        "192.0.2.*|\t$UserIP carol 192.0.2.77"}},
      {"the same IP names the other user",
       [](test::BotFixture& b) { b.Receive("$UserIP alice 10.0.0.5|"); },
       "$UserIP bob 10.0.0.5|",
       {"bob\t10.0.0.5\tSameIp\talice\treported\t\t$UserIP bob 10.0.0.5"}},
  };
  for (const Case& c : cases) {
    LoggingBot fixture;
    test::BotFixture& b = fixture.f;
    c.setUp(b);
    b.Receive(c.received);
    Lines expected;
    for (const std::string& line : c.lines) {
      expected.push_back(std::string(kNow) + line);
    }
    EXPECT_EQ(fixture.Logged(), expected) << c.name;
  }
}

TEST_F(KickLogTest, NothingIsWrittenWhileTheSwitchIsOff) {
  f.control(ctl::kLogKicksCheckBox).SetChecked(false);
  f.control(ctl::kKickFakeCheckBox).SetChecked(true);
  f.Receive(kBobInfo + "|");
  ASSERT_FALSE(f.Writes().empty()) << "bob was kicked";
  EXPECT_FALSE(std::filesystem::exists(File()));
}

// A log that cannot be written is told in the status pane; the detection
// goes on as without the log, so a reported user still gets his row.
TEST_F(KickLogTest, AnUnwritableLogIsToldAndChangesNothingElse) {
  std::filesystem::remove_all(f.dir / "logs");
  f.Receive(kBobInfo + "|");
  ASSERT_FALSE(f.StatusLines().empty());
  EXPECT_EQ(f.StatusLines().back(),
            "Kick log: Cannot write file \"" + File().string() + "\": No such file or directory");
  EXPECT_GE(f.bot->Users().FindUser("bob"), 0);
  EXPECT_EQ(f.ChatLines().back(), "*** bob is using proxy connection");
}

// The log is used only when its path names a regular file: a FIFO there
// would stop the bot until a reader came, a symbolic link would send the
// users' IPs wherever it points. Writing and reading both refuse at once,
// and the status pane says why; the bot goes on.
TEST(KickLogFile, OnlyARegularFileIsWrittenOrReadAndNothingWaits) {
  namespace fs = std::filesystem;
  struct Case {
    const char* name;
    std::function<void(const fs::path& log, const fs::path& elsewhere)> make;
    std::string reason;
  };
  const Case cases[] = {
      {"a FIFO", [](const fs::path& log, const fs::path&) { ASSERT_EQ(mkfifo(log.c_str(), 0600), 0); },
       "Is not a regular file"},
      {"a symbolic link to a file",
       [](const fs::path& log, const fs::path& elsewhere) { fs::create_symlink(elsewhere, log); },
       "Is a symbolic link"},
      {"a symbolic link to no file yet",
       [](const fs::path& log, const fs::path& elsewhere) {
         fs::remove(elsewhere);
         fs::create_symlink(elsewhere, log);
       },
       "Is a symbolic link"},
      {"a directory", [](const fs::path& log, const fs::path&) { fs::create_directory(log); }, "Is a directory"},
  };
  const std::string elsewhereText = "T\tbob\t\tProxy\t5\treported\t\telsewhere\r\n";
  for (const Case& c : cases) {
    LoggingBot b;
    const fs::path elsewhere = b.f.dir.WriteFile("elsewhere.txt", elsewhereText);
    c.make(b.File(), elsewhere);
    const WaitLimit limit;
    b.Find("bob");
    ASSERT_FALSE(b.f.StatusLines().empty()) << c.name;
    EXPECT_EQ(b.f.StatusLines().back(), "Kick log: Cannot write file \"" + b.File().string() + "\": " + c.reason)
        << c.name;
    EXPECT_EQ(b.f.ChatLines().back(), "*** bob is using proxy connection") << c.name;
    try {
      const std::optional<std::string> line = b.f.bot->KickEvidence().LastLineOf("bob");
      ADD_FAILURE() << c.name << ": read " << line.value_or("nothing");
    } catch (const FileAccessError& error) {
      EXPECT_EQ(std::string(error.what()), "Cannot read file \"" + b.File().string() + "\": " + c.reason) << c.name;
    }
    if (fs::exists(elsewhere)) {
      EXPECT_EQ(test::TempDir::ReadFile(elsewhere), elsewhereText) << c.name << ": the link was followed";
    } else {
      EXPECT_FALSE(fs::exists(fs::symlink_status(elsewhere))) << c.name << ": the link was followed";
    }
  }
}

// The logs hold users' IPs and what they sent: each is created for its owner
// only, whatever the umask lets through.
TEST(KickLogFile, EveryLogIsCreatedReadableAndWritableByItsOwnerOnly) {
  const mode_t previousMask = umask(002);
  LoggingBot b;
  for (const char* logSwitch : {ctl::kLogChatCheckBox, ctl::kLogStatusCheckBox, ctl::kLogDebugCheckBox}) {
    b.f.control(logSwitch).SetChecked(true);
  }
  b.Find("bob");
  b.f.bot->Panes().FlushOnExit();
  umask(previousMask);
  for (const char* name : {"kicks.txt", "chat.txt", "status.txt", "log.txt"}) {
    struct stat status {};
    ASSERT_EQ(stat((b.f.dir / "logs" / name).c_str(), &status), 0) << name;
    EXPECT_EQ(status.st_mode & 0777, 0600u) << name;
  }
}

// The file stays open between lines and is opened again when it may have
// been rotated: the path is compared with the open file once a second, and
// reading the settings again (SIGHUP) or switching the log opens it at once.
// Until then the lines go to the file that is open, so a moved log gets
// every line written before its path was looked at again.
TEST(KickLogFile, AMovedOrDeletedLogIsCreatedAgainAtTheNextLook) {
  namespace fs = std::filesystem;
  struct Case {
    const char* name;
    bool deleted;
    std::function<void(LoggingBot&)> look;
  };
  const Case cases[] = {
      {"moved, a second later", false, [](LoggingBot& b) { b.f.fakes.clock.now += 1; }},
      {"deleted, a second later", true, [](LoggingBot& b) { b.f.fakes.clock.now += 1; }},
      {"moved, the settings read again", false,
       [](LoggingBot& b) {
         BotActions(*b.f.bot).ReloadSettings();
         b.f.control(ctl::kDetectionsCheckBox).SetChecked(true);
       }},
      {"moved, the log switched off and on again", false,
       [](LoggingBot& b) {
         b.f.control(ctl::kLogKicksCheckBox).SetChecked(false);
         b.f.control(ctl::kLogKicksCheckBox).SetChecked(true);
       }},
  };
  for (const Case& c : cases) {
    LoggingBot b;
    const fs::path moved = b.f.dir / "logs" / "kicks.txt.1";
    b.Find("alice");
    if (c.deleted) {
      fs::remove(b.File());
    } else {
      fs::rename(b.File(), moved);
    }
    b.f.fakes.clock.now += KickLog::kRotationCheckMs - 1;
    b.Find("bob");
    EXPECT_FALSE(fs::exists(b.File())) << c.name << ": bob's line went to a new file before the look";
    c.look(b);
    b.Find("carol");
    EXPECT_EQ(b.LoggedNicks(b.File()), Lines{"carol"}) << c.name;
    if (!c.deleted) {
      EXPECT_EQ(b.LoggedNicks(moved), (Lines{"alice", "bob"})) << c.name;
    }
  }
}

// A log that cannot be written is told once, not once per found user, and
// the next line opens it again: once it can be written, the lines are there.
TEST_F(KickLogTest, AFailingLogIsToldOnceAndTriedAgainAtEachLine) {
  std::filesystem::remove_all(f.dir / "logs");
  Find("alice");
  Find("bob");
  const std::string told = "Kick log: Cannot write file \"" + File().string() + "\": No such file or directory";
  EXPECT_EQ(std::count(f.StatusLines().begin(), f.StatusLines().end(), told), 1);
  std::filesystem::create_directory(f.dir / "logs");
  Find("carol");
  EXPECT_EQ(LoggedNicks(File()), Lines{"carol"});
  std::filesystem::remove_all(f.dir / "logs");
  f.fakes.clock.now += KickLog::kRotationCheckMs;
  Find("dave");
  EXPECT_EQ(std::count(f.StatusLines().begin(), f.StatusLines().end(), told), 2) << "told again after a good line";
}

TEST_F(KickLogTest, LastLineOfANickIsItsLatestLineComparedExactly) {
  const KickLog& log = f.bot->KickEvidence();
  EXPECT_EQ(log.LastLineOf("bob"), std::nullopt) << "no file yet";
  f.Receive(kBobInfo + "|");
  f.Receive("$MyINFO $ALL bobby <++ V:1,M:5,H:1/0/0,S:3>$ $DSL\x01$$2$|");
  f.Receive("$MyINFO $ALL a\tb <++ V:1,M:5,H:1/0/0,S:3>$ $DSL\x01$$3$|");
  const Lines lines = Logged();
  ASSERT_EQ(lines.size(), 4u) << "bob: fake and proxy; bobby and a<tab>b: proxy";
  EXPECT_EQ(log.LastLineOf("bob"), lines[1]);
  EXPECT_EQ(log.LastLineOf("bobby"), lines[2]);
  EXPECT_EQ(log.LastLineOf("a\tb"), lines[3]);
  EXPECT_EQ(log.LastLineOf("Bob"), std::nullopt);
  EXPECT_EQ(log.LastLineOf("b"), std::nullopt);
}

// Only the file's end is searched; a line that the search window cuts is no
// line of the nick whose name its cut piece happens to begin with.
TEST_F(KickLogTest, LastLineOfSearchesOnlyWholeLinesAtTheEnd) {
  const std::string early = "T\tbob\t\tProxy\t5\treported\t\tearly\r\n";
  const std::string cut = "T\tx\t\tProxy\t5\treported\t\tcut\r\n";
  const std::string filler = "T\tcarol\t\tProxy\t5\treported\t\t";
  const std::string last = "T\tdave\t\tProxy\t5\treported\t\tlast\r\n";
  // The window begins right after "T\t", so its cut piece starts "x\t".
  const std::size_t fillerBytes = KickLog::kSearchedBytes - (cut.size() - 2) - filler.size() - 2 - last.size();
  f.dir.WriteFile("logs/kicks.txt", early + cut + filler + std::string(fillerBytes, 'f') + "\r\n" + last);
  const KickLog& log = f.bot->KickEvidence();
  EXPECT_EQ(log.LastLineOf("dave"), "T\tdave\t\tProxy\t5\treported\t\tlast");
  EXPECT_EQ(log.LastLineOf("x"), std::nullopt) << "the cut line";
  EXPECT_EQ(log.LastLineOf("bob"), std::nullopt) << "before the window";
  EXPECT_TRUE(log.LastLineOf("carol").has_value());
}

}  // namespace
}  // namespace varnek
