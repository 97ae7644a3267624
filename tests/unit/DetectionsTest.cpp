#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/ControlNames.h"
#include "core/store/OutputPanes.h"
#include "core/users/UserList.h"
#include "core/users/UserRecord.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

using Lines = std::vector<std::string>;

// One "$MyINFO $ALL" as a client sends it; every field can be set, the rest
// describes an ordinary active client that no detection objects to.
struct Info {
  std::string nick = "bob";
  std::string share = "1234567890";
  std::string mode = "A";
  std::string hubs = "1/0/0";
  std::string limit;  // empty: the tag has no "L:" item
  std::string description = "just sharing";
  std::string email = "bob@example.invalid";
  std::string connection = "DSL";

  std::string Tag() const {
    return "<++ V:0.706,M:" + mode + ",H:" + hubs + ",S:3" + (limit.empty() ? "" : ",L:" + limit) + ">";
  }
  std::string Command() const {
    return "$MyINFO $ALL " + nick + " " + description + Tag() + "$ $" + connection + "\x01$" + email + "$" + share +
           "$|";
  }
};

// A pattern that no value can be matched against: one run of "*" too many.
std::string InvalidPattern() {
  std::string pattern;
  for (int run = 0; run < 31; ++run) {
    pattern += "*a";
  }
  return pattern;
}

// A logged-in bot "Guard" with detections on, every kick switch off and the
// default plain templates; pane lines carry no time stamps and the chat pane
// starts empty.
class DetectionsTest : public ::testing::Test {
 protected:
  DetectionsTest() {
    f.LogIn("Guard");
    f.PlainLines();
    f.control(ctl::kDetectionsCheckBox).SetChecked(true);
    f.bot->Panes().Clear(PaneId::Chat);
  }

  void Feed(const std::string& bytes) { f.Receive(bytes); }
  void Feed(const Info& info) { f.Receive(info.Command()); }
  // Feeds with detections off, for users that must be on the list before a test.
  void Seed(const std::string& bytes) {
    f.control(ctl::kDetectionsCheckBox).SetChecked(false);
    f.Receive(bytes);
    f.control(ctl::kDetectionsCheckBox).SetChecked(true);
  }
  void Check(std::string_view name, bool on = true) { f.control(name).SetChecked(on); }
  StringListModel& List(std::string_view name) { return f.controls().List(name); }

  const Lines& Chat() { return f.ChatLines(); }
  std::uint32_t Detections() { return f.bot->Counters().Detections(); }
  int RowOf(std::string_view nick) { return f.bot->Users().FindUser(nick); }
  std::string Cell(std::string_view nick, UserColumn column) {
    const int row = RowOf(nick);
    return row < 0 ? "<no row>" : std::string(f.bot->Users().Row(row).Cell(column));
  }
  Lines DebugLinesStartingWith(std::string_view prefix) {
    Lines found;
    for (const std::string& line : f.DebugLines()) {
      if (line.starts_with(prefix)) {
        found.push_back(line);
      }
    }
    return found;
  }

  test::BotFixture f;
};

const Info kFakeProxyLimit{.share = "5000000000", .mode = "5", .limit = "5"};

TEST_F(DetectionsTest, SwitchedOffNothingIsDetectedAndTheRowIsUpdated) {
  Check(ctl::kDetectionsCheckBox, false);
  Check(ctl::kKickFakeCheckBox);
  Check(ctl::kKickProxyCheckBox);
  Feed(Info{.share = "1111111111", .mode = "5"});

  EXPECT_EQ(Chat(), Lines{});
  EXPECT_EQ(f.Writes(), Lines{});
  EXPECT_EQ(Detections(), 0u);
  EXPECT_EQ(Cell("bob", UserColumn::ExactShareSize), "1111111111 B");
}

TEST_F(DetectionsTest, WithEveryKickOffFindingsAreReportedInOrderAndTheRowIsUpdated) {
  Feed(kFakeProxyLimit);

  EXPECT_EQ(Chat(), (Lines{"*** bob seems to have fake share: 5000000000 B", "*** bob is using proxy connection",
                           "*** bob is using upload limit: 5 KiB/s"}));
  EXPECT_EQ(Detections(), 3u);
  EXPECT_EQ(f.Writes(), Lines{});
  EXPECT_EQ(Cell("bob", UserColumn::ExactShareSize), "5000000000 B");
  EXPECT_EQ(Cell("bob", UserColumn::Mode), "Proxy");
}

TEST_F(DetectionsTest, AKickEndsTheHandlingAndLeavesTheListAlone) {
  Feed(Info{.share = "100"});
  Check(ctl::kKickFakeCheckBox);
  Feed(kFakeProxyLimit);
  Feed(kFakeProxyLimit.Command() + Info{.nick = "carol", .share = "7777777"}.Command());

  // No memory of earlier kicks: bob is kicked again, carol never gets a row.
  const std::string kick = "<Guard> !kick bob [auto kick] Fake share: 5000000000 B|";
  EXPECT_EQ(f.Writes(), (Lines{kick, kick, "<Guard> !kick carol [auto kick] Fake share: 7777777 B|"}));
  EXPECT_EQ(Chat(),
            (Lines{"*** bob seems to have fake share: 5000000000 B", "*** bob seems to have fake share: 5000000000 B",
                   "*** carol seems to have fake share: 7777777 B"}));
  EXPECT_EQ(Detections(), 3u);
  EXPECT_EQ(Cell("bob", UserColumn::ExactShareSize), "100 B");
  EXPECT_EQ(RowOf("carol"), -1);
}

// bob trips all ten $MyINFO detections; switching on one kick at a time shows
// their order and that the first kick ends the chain.
TEST_F(DetectionsTest, TheChainRunsInItsOrderAndStopsAtTheFirstKick) {
  Seed(Info{.nick = "alice", .share = "5000000000"}.Command());
  List(ctl::kKickNickListView).Append("b*");
  List(ctl::kKickDescriptionListView).Append("*spam*");
  List(ctl::kKickEmailListView).Append("*@bad.example");
  List(ctl::kKickTagListView).Append("<++ *");
  List(ctl::kKickShareListView).Append("5*");
  for (const char* name : {ctl::kUserHubsSpinEdit, ctl::kRegHubsSpinEdit, ctl::kOpHubsSpinEdit}) {
    f.control(name).SetValue(2);
  }
  const Info bob{.share = "5000000000",
                 .mode = "5",
                 .hubs = "5/5/5",
                 .limit = "5",
                 .description = "spam here",
                 .email = "bob@bad.example"};
  const std::string tag = bob.Tag();
  const Lines all = {"*** bob is a clone of alice",
                     "*** bob seems to have fake share: 5000000000 B",
                     "*** bob is using proxy connection",
                     "*** bob is using upload limit: 5 KiB/s",
                     "*** bob uses forbidden nick",
                     "*** bob has forbidden description: spam here",
                     "*** bob has forbidden email address: bob@bad.example",
                     "*** bob has forbidden tag: " + tag,
                     "*** bob has forbidden share size: 5000000000 B",
                     "*** bob has high hubs count: 5/5/5",
                     "*** bob has high hubs count: 5/5/5",
                     "*** bob has high hubs count: 5/5/5"};
  const char* switches[] = {ctl::kKickCloneCheckBox,   ctl::kKickFakeCheckBox, ctl::kKickProxyCheckBox,
                            ctl::kKickLimitCheckBox,   ctl::kKickNickCheckBox, ctl::kKickDescriptionCheckBox,
                            ctl::kKickEmailCheckBox,   ctl::kKickTagCheckBox,  ctl::kKickShareCheckBox,
                            ctl::kKickUserHubsCheckBox};

  Feed(bob);
  EXPECT_EQ(Chat(), all);
  EXPECT_EQ(Detections(), 12u);
  EXPECT_EQ(f.Writes(), Lines{});
  ASSERT_GE(RowOf("bob"), 0);

  for (std::size_t kicking = 0; kicking < std::size(switches); ++kicking) {
    SCOPED_TRACE(switches[kicking]);
    f.bot->Users().RemoveUser("bob");
    f.bot->Panes().Clear(PaneId::Chat);
    f.Writes().clear();
    Check(switches[kicking]);
    Feed(bob);
    Check(switches[kicking], false);

    // The three hub count checks are independent of each other, so the
    // hubs detection always writes all three of its lines.
    const std::size_t lines = kicking < 9 ? kicking + 1 : all.size();
    EXPECT_EQ(Chat(), Lines(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(lines)));
    EXPECT_EQ(f.Writes().size(), 1u);
    EXPECT_EQ(RowOf("bob"), -1);
  }
}

// Every kind fills its own placeholder into its default template.
struct KickCase {
  const char* kickSwitch;
  const char* list;  // pattern list to fill, or nullptr
  const char* pattern;
  std::string seed;     // fed with detections off first
  std::string command;  // the command that is detected
  std::string found;
  std::string kick;
};

TEST_F(DetectionsTest, EachKindReportsAndKicksWithItsOwnValue) {
  const std::string alice = Info{.nick = "alice", .share = "12345"}.Command() + "$UserIP alice 10.1.2.3|";
  const std::string kickBob = "<Guard> !kick bob [auto kick] ";
  const KickCase cases[] = {
      {ctl::kKickFakeCheckBox, nullptr, "", "", Info{.share = "1111111111"}.Command(),
       "*** bob seems to have fake share: 1111111111 B", kickBob + "Fake share: 1111111111 B|"},
      {ctl::kKickProxyCheckBox, nullptr, "", "", Info{.mode = "5"}.Command(), "*** bob is using proxy connection",
       kickBob + "Proxy connection|"},
      {ctl::kKickCloneCheckBox, nullptr, "", alice, Info{.share = "12345"}.Command(), "*** bob is a clone of alice",
       kickBob + "Clone of alice|"},
      {ctl::kKickLimitCheckBox, nullptr, "", "", Info{.limit = "7"}.Command(), "*** bob is using upload limit: 7 KiB/s",
       kickBob + "Upload limit: 7 KiB/s|"},
      {ctl::kKickNickCheckBox, ctl::kKickNickListView, "B?B", "", Info{.nick = "b?b"}.Command(),
       "*** b?b uses forbidden nick", "<Guard> !kick b?b [auto kick] Forbidden nick pattern: B?B|"},
      {ctl::kKickDescriptionCheckBox, ctl::kKickDescriptionListView, "*free *", "",
       Info{.description = "all free here"}.Command(), "*** bob has forbidden description: all free here",
       kickBob + "Forbidden description pattern: *free *|"},
      {ctl::kKickEmailCheckBox, ctl::kKickEmailListView, "*@bad.example", "", Info{.email = "x@BAD.example"}.Command(),
       "*** bob has forbidden email address: x@BAD.example", kickBob + "Forbidden email pattern: *@bad.example|"},
      {ctl::kKickTagCheckBox, ctl::kKickTagListView, "*M:P*", "", Info{.mode = "P"}.Command(),
       "*** bob has forbidden tag: " + Info{.mode = "P"}.Tag(), kickBob + "Forbidden tag pattern: *M:P*|"},
      {ctl::kKickShareCheckBox, ctl::kKickShareListView, "1234*", "", Info{}.Command(),
       "*** bob has forbidden share size: 1234567890 B", kickBob + "Forbidden share size pattern: 1234* B|"},
      {ctl::kKickUserHubsCheckBox, nullptr, "", "", Info{.hubs = "100/0/0"}.Command(),
       "*** bob has high hubs count: 100/0/0", kickBob + "Too high hubs count: 100/0/0|"},
      {ctl::kKickIpCheckBox, ctl::kKickIpListView, "10.*", "", "$UserIP bob 10.1.2.3|",
       "*** bob has forbidden IP: 10.1.2.3", kickBob + "Forbidden IP pattern: 10.*|"},
      {ctl::kKickSameIpCheckBox, nullptr, "", alice, "$UserIP bob 10.1.2.3|", "*** bob has same IP as alice",
       kickBob + "Connection from same IP as alice|"},
  };
  for (const KickCase& c : cases) {
    SCOPED_TRACE(c.kickSwitch);
    test::BotFixture fresh;
    fresh.LogIn("Guard");
    fresh.PlainLines();
    fresh.Receive(c.seed);
    fresh.control(ctl::kDetectionsCheckBox).SetChecked(true);
    fresh.control(c.kickSwitch).SetChecked(true);
    if (c.list != nullptr) {
      fresh.controls().List(c.list).Append(c.pattern);
    }
    fresh.bot->Panes().Clear(PaneId::Chat);

    fresh.Receive(c.command);
    EXPECT_EQ(fresh.ChatLines(), Lines{c.found});
    EXPECT_EQ(fresh.Writes(), Lines{c.kick});
    EXPECT_EQ(fresh.bot->Counters().Detections(), 1u);
    EXPECT_EQ(fresh.bot->Users().FindUser("bob"), -1);
    EXPECT_EQ(fresh.bot->Users().FindUser("b?b"), -1);
  }
}

TEST_F(DetectionsTest, CloneIsTheFirstOtherRowWithTheSameShare) {
  Feed(Info{.nick = "zero1", .share = "0"});
  Feed(Info{.nick = "zero2", .share = "0"});
  EXPECT_EQ(Chat(), Lines{}) << "share 0 is never a clone";

  Feed(Info{.nick = "alice", .share = "12345"});
  Feed(Info{.nick = "bob", .share = "12345"});
  Feed(Info{.nick = "carol", .share = "12345"});
  // alice again: her own row is the first with that share, so bob and carol
  // further down do not make her a clone.
  Feed(Info{.nick = "alice", .share = "12345"});

  EXPECT_EQ(Chat(), (Lines{"*** bob is a clone of alice", "*** carol is a clone of alice"}));
  EXPECT_EQ(Detections(), 2u);
  EXPECT_EQ(f.bot->Users().Count(), 5);
}

// Hub bots send an empty share field and a $UserIP can make a row before its
// user's $MyINFO: sharing nothing, like sharing "0", makes nobody a clone.
TEST_F(DetectionsTest, AnEmptyShareIsNeverAClone) {
  Feed("$UserIP carol 10.0.0.3|$MyINFO $ALL PtokaX $ $\x0b$$$|$MyINFO $ALL OpChat $ $\x0b$$$|");
  EXPECT_EQ(Chat(), Lines{});
  EXPECT_EQ(Detections(), 0u);
}

struct LimitCase {
  std::string limit;
  bool below;
  int belowValue;
  const char* shown;  // the limit in the found line; nullptr: no line
  bool kicked;
};

TEST_F(DetectionsTest, UploadLimit) {
  const LimitCase cases[] = {
      {"0", false, 2, "0", false},    // reported, never kicked
      {"-3", false, 2, "-3", false},  // likewise
      {"abc", false, 2, nullptr, false},
      {"198605", false, 2, nullptr, false},  // what a text that is no number reads as
      {"050", false, 2, "50", true},
      {"99999", false, 2, "99999", true},
      {"9", true, 10, "9", true},  // below the threshold
      {"10", true, 10, "10", false},
  };
  Check(ctl::kKickLimitCheckBox);
  for (const LimitCase& c : cases) {
    SCOPED_TRACE(c.limit);
    f.bot->Panes().Clear(PaneId::Chat);
    f.Writes().clear();
    f.bot->Users().Clear();
    Check(ctl::kKickLimitBelowCheckBox, c.below);
    f.control(ctl::kKickLimitBelowSpinEdit).SetValue(c.belowValue);

    Feed(Info{.limit = c.limit});
    const std::string shown = c.shown == nullptr ? "" : c.shown;
    EXPECT_EQ(Chat(), c.shown == nullptr ? Lines{} : Lines{"*** bob is using upload limit: " + shown + " KiB/s"});
    EXPECT_EQ(f.Writes(),
              c.kicked ? Lines{"<Guard> !kick bob [auto kick] Upload limit: " + shown + " KiB/s|"} : Lines{});
    EXPECT_EQ(RowOf("bob") >= 0, !c.kicked);
  }
}

struct ConnectionLimitCase {
  bool readConnection;
  std::string tagLimit;
  std::string connection;
  const char* shown;  // the limit in the found line; nullptr: no line
};

// Clients that give their limit as the connection, "<N> KiB/s", are judged by
// it only when the switch is on and the tag has no limit of its own.
TEST_F(DetectionsTest, UploadLimitFromTheConnection) {
  const ConnectionLimitCase cases[] = {
      {false, "", "40 KiB/s", nullptr},  {true, "", "40 KiB/s", "40"},     {true, "", "12.5 KiB/s", "12"},
      {true, "7", "40 KiB/s", "7"},  // the tag's own limit wins
      {true, "", "DSL", nullptr},        {true, "", "KiB/s", nullptr},     {true, "", " KiB/s", nullptr},
      {true, "", "40 KiB/sec", nullptr}, {true, "", "4x0 KiB/s", nullptr}, {true, "", "40. KiB/s", nullptr},
      {true, "", "40 kib/s", nullptr},
  };
  Check(ctl::kKickLimitCheckBox);
  for (const ConnectionLimitCase& c : cases) {
    SCOPED_TRACE(c.connection);
    f.bot->Panes().Clear(PaneId::Chat);
    f.Writes().clear();
    f.bot->Users().Clear();
    Check(ctl::kLimitFromConnectionCheckBox, c.readConnection);

    Feed(Info{.limit = c.tagLimit, .connection = c.connection});
    const std::string shown = c.shown == nullptr ? "" : c.shown;
    EXPECT_EQ(Chat(), c.shown == nullptr ? Lines{} : Lines{"*** bob is using upload limit: " + shown + " KiB/s"});
    EXPECT_EQ(f.Writes(),
              c.shown == nullptr ? Lines{} : Lines{"<Guard> !kick bob [auto kick] Upload limit: " + shown + " KiB/s|"});
  }
}

struct HubsCase {
  std::string hubs;
  bool kickUser, kickReg, kickOp;
  std::size_t lines;
  std::size_t kicks;
  bool abandoned;
};

TEST_F(DetectionsTest, HubCounts) {
  for (const char* name : {ctl::kUserHubsSpinEdit, ctl::kRegHubsSpinEdit, ctl::kOpHubsSpinEdit}) {
    f.control(name).SetValue(2);
  }
  const HubsCase cases[] = {
      {"5/0/0", false, false, false, 1, 0, false},
      {"2/2/2", true, true, true, 0, 0, false},  // at the thresholds, not above
      {"5/5/5", false, false, false, 3, 0, false},
      {"5/5/5", true, true, true, 3, 3, false},  // one kick per check
      {"1/5/1", false, true, false, 1, 1, false},
      {"5/5/1", false, true, false, 2, 1, false},  // the user check reports, the registered one kicks
      {"3", true, true, true, 0, 0, false},        // no "/": not examined
      {"", true, true, true, 0, 0, false},
      {"5/1", false, false, false, 1, 0, true},  // no registered count: abandoned after the first check
      {"a/1/1", true, true, true, 0, 0, true},
  };
  for (const HubsCase& c : cases) {
    SCOPED_TRACE(c.hubs);
    f.bot->Panes().Clear(PaneId::Chat);
    f.bot->Panes().Clear(PaneId::Debug);
    f.Writes().clear();
    f.bot->Users().Clear();
    Check(ctl::kKickUserHubsCheckBox, c.kickUser);
    Check(ctl::kKickRegHubsCheckBox, c.kickReg);
    Check(ctl::kKickOpHubsCheckBox, c.kickOp);

    Feed(Info{.hubs = c.hubs});
    EXPECT_EQ(Chat(), Lines(c.lines, "*** bob has high hubs count: " + c.hubs));
    EXPECT_EQ(f.Writes(), Lines(c.kicks, "<Guard> !kick bob [auto kick] Too high hubs count: " + c.hubs + "|"));
    EXPECT_EQ(RowOf("bob") >= 0, c.kicks == 0 && !c.abandoned);
    EXPECT_EQ(DebugLinesStartingWith("Command ignored: ").size(), c.abandoned ? 1u : 0u);
  }
}

// A count that is no number drops that one command and nothing else: no
// question to the operator, the row as it was, the next command handled.
TEST_F(DetectionsTest, AnAbandonedMyInfoLeavesTheRowAndTheBotGoesOn) {
  Feed(Info{.share = "100"});
  Feed(Info{.share = "200", .hubs = "a/1/1"}.Command() + "<Hub> still here|");

  EXPECT_EQ(Cell("bob", UserColumn::ExactShareSize), "100 B");
  EXPECT_EQ(Chat(), Lines{"<Hub> still here"});
  EXPECT_EQ(DebugLinesStartingWith("Command ignored: ").size(), 1u);
  EXPECT_TRUE(f.fakes.dialogs.messages.empty());
}

TEST_F(DetectionsTest, UserIpFindsTheFirstOtherRowWithThatIp) {
  Feed(Info{.nick = "alice", .share = "1"});
  Feed(Info{.nick = "bob", .share = "2"});
  Feed("$UserIP bob 1.2.3.4|");
  EXPECT_EQ(Chat(), Lines{}) << "his own first $UserIP cannot find himself";

  Feed("$UserIP alice 1.2.3.4|");
  EXPECT_EQ(Chat(), Lines{"*** alice has same IP as bob"});
  EXPECT_EQ(Cell("alice", UserColumn::Ip), "1.2.3.4");

  // alice's row now comes first with that IP: her repeat finds only herself.
  Feed("$UserIP alice 1.2.3.4|$UserIP bob 1.2.3.4|");
  EXPECT_EQ(Chat(), (Lines{"*** alice has same IP as bob", "*** bob has same IP as alice"}));
  EXPECT_EQ(Detections(), 2u);
}

// A hub that knows no address for a user sends it empty: the user keeps his
// row and his debug line, and nobody else without an IP is "the same IP".
TEST_F(DetectionsTest, AnEmptyUserIpAddressKeepsTheRowAndFindsNothing) {
  Check(ctl::kNiceLogCheckBox);
  Check(ctl::kKickSameIpCheckBox);
  Check(ctl::kKickIpCheckBox);
  List(ctl::kKickIpListView).Append("*");
  Feed(Info{.nick = "alice", .share = "1"});
  Feed("$UserIP bob |");
  EXPECT_EQ(Chat(), Lines{});
  EXPECT_EQ(Detections(), 0u);
  EXPECT_GE(RowOf("bob"), 0);
  EXPECT_EQ(DebugLinesStartingWith("bob is sending").size(), 1u) << ::testing::PrintToString(f.DebugLines());
  EXPECT_EQ(f.Writes().size(), 0u);
}

TEST_F(DetectionsTest, AForbiddenIpThatKicksStopsBeforeTheSameIpCheck) {
  Feed("$UserIP alice 10.0.0.1|");
  List(ctl::kKickIpListView).Append("10.0.*");
  Feed("$UserIP bob 10.0.0.1|");
  EXPECT_EQ(Chat(), (Lines{"*** bob has forbidden IP: 10.0.0.1", "*** bob has same IP as alice"}));

  f.bot->Panes().Clear(PaneId::Chat);
  Check(ctl::kKickIpCheckBox);
  Check(ctl::kKickSameIpCheckBox);
  Feed("$UserIP carol 10.0.0.1|");
  EXPECT_EQ(Chat(), Lines{"*** carol has forbidden IP: 10.0.0.1"});
  EXPECT_EQ(f.Writes(), Lines{"<Guard> !kick carol [auto kick] Forbidden IP pattern: 10.0.*|"});
  EXPECT_EQ(RowOf("carol"), -1);
}

struct ExemptionCase {
  const char* name;
  bool operatorNick;
  bool protectOperators;
  bool protectUsers;
  const char* protectedPattern;
  bool detected;
};

TEST_F(DetectionsTest, ExemptUsersAreNeverDetected) {
  const ExemptionCase cases[] = {
      {"protected operator", true, true, false, "", false},
      {"unprotected operator", true, false, false, "", true},
      {"unprotected operator, other pattern", true, false, true, "alice", true},
      {"protected list honoured", false, false, true, "B*", false},
      {"protected list ignored", false, true, false, "B*", true},
      {"operator by the list only", true, false, true, "bob", false},
  };
  Check(ctl::kKickProxyCheckBox);
  Check(ctl::kKickIpCheckBox);
  List(ctl::kKickIpListView).Append("10.*");
  for (const ExemptionCase& c : cases) {
    SCOPED_TRACE(c.name);
    f.bot->Panes().Clear(PaneId::Chat);
    f.Writes().clear();
    f.bot->Users().Clear();
    List(ctl::kOpsListBox).Clear();
    List(ctl::kProtectedListView).Assign({c.protectedPattern});
    Check(ctl::kProtectedOpsCheckBox, c.protectOperators);
    Check(ctl::kProtectedUsersCheckBox, c.protectUsers);
    if (c.operatorNick) {
      f.AddOperator("bob");
    }

    Feed(Info{.mode = "5"}.Command() + "$UserIP bob 10.0.0.7|");
    EXPECT_EQ(Chat().size(), c.detected ? 2u : 0u);
    EXPECT_EQ(f.Writes().size(), c.detected ? 2u : 0u);
    EXPECT_EQ(Cell("bob", UserColumn::Ip), c.detected ? "<no row>" : "10.0.0.7");
  }
}

struct InvalidPatternCase {
  const char* list;
  bool protectUsers;
  std::string command;
};

// A pattern that cannot be matched drops the whole command being handled,
// quietly: no row, no question to the operator, a note in the debug pane.
TEST_F(DetectionsTest, AnInvalidPatternAbandonsTheCommand) {
  const InvalidPatternCase cases[] = {
      {ctl::kKickNickListView, false, Info{}.Command()},      {ctl::kKickDescriptionListView, false, Info{}.Command()},
      {ctl::kKickEmailListView, false, Info{}.Command()},     {ctl::kKickTagListView, false, Info{}.Command()},
      {ctl::kKickShareListView, false, Info{}.Command()},     {ctl::kProtectedListView, true, Info{}.Command()},
      {ctl::kKickIpListView, false, "$UserIP bob 10.0.0.1|"},
  };
  for (const InvalidPatternCase& c : cases) {
    SCOPED_TRACE(c.list);
    f.bot->Panes().Clear(PaneId::Debug);
    f.bot->Panes().Clear(PaneId::Chat);
    List(c.list).Assign({"nomatch", InvalidPattern(), "*"});
    Check(ctl::kProtectedUsersCheckBox, c.protectUsers);

    Feed(c.command + "<Hub> next|");
    EXPECT_EQ(RowOf("bob"), -1);
    EXPECT_EQ(Chat(), Lines{"<Hub> next"});
    EXPECT_EQ(DebugLinesStartingWith("Command ignored: ").size(), 1u);
    EXPECT_TRUE(f.fakes.dialogs.messages.empty());
    List(c.list).Clear();
  }
}

// The exemption test is the first step of both commands, whether detections
// are on or not: a protected pattern that cannot be matched abandons a
// $MyINFO just as it abandons a $UserIP.
TEST_F(DetectionsTest, TheExemptionTestComesFirstAlsoWithDetectionsOff) {
  Check(ctl::kDetectionsCheckBox, false);
  Check(ctl::kProtectedUsersCheckBox);
  List(ctl::kProtectedListView).Assign({InvalidPattern()});
  for (const std::string& command : {Info{}.Command(), std::string("$UserIP bob 10.0.0.1|")}) {
    SCOPED_TRACE(command);
    f.bot->Panes().Clear(PaneId::Debug);
    f.bot->Panes().Clear(PaneId::Chat);
    Feed(command + "<Hub> next|");
    EXPECT_EQ(RowOf("bob"), -1);
    EXPECT_EQ(Chat(), Lines{"<Hub> next"});
    EXPECT_EQ(DebugLinesStartingWith("Command ignored: ").size(), 1u);
  }
}

TEST_F(DetectionsTest, TheScanStopsAtTheFirstMatchingPattern) {
  List(ctl::kKickNickListView).Assign({"nomatch", "B*", InvalidPattern()});
  Check(ctl::kKickNickCheckBox);
  Feed(Info{});
  EXPECT_EQ(f.Writes(), Lines{"<Guard> !kick bob [auto kick] Forbidden nick pattern: B*|"});
  EXPECT_TRUE(DebugLinesStartingWith("Command ignored: ").empty());
}

}  // namespace
}  // namespace varnek
