#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/model/KickTemplates.h"
#include "core/store/OutputPanes.h"
#include "core/users/Kick.h"
#include "core/users/UserList.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

using Lines = std::vector<std::string>;

struct ExpandCase {
  std::string text;
  std::string nick;
  std::string placeholder;
  std::string value;
  std::string command;
};

TEST(ExpandTemplateTest, FillsNickMyNickAndTheKindsOwnPlaceholderInOnePass) {
  const ExpandCase cases[] = {
      {"!kick <nick> x", "k", "", "", "!kick k x"},
      {"<Nick> gone", "bob", "", "", "<Nick> gone"},  // placeholders are case-sensitive
      {"<nick> <nick>, <mynick>: <clone> <fake>", "bob", "<clone>", "alice", "bob bob, Guard: alice <fake>"},
      {"<<mynick>> <nick><mynick>", "bob", "", "", "<Guard> bobGuard"},
      {"<ni<nick>ck> <mynick <nick", "bob", "", "", "<nibobck> <mynick <nick"},
      // What is put in is never read again, whichever placeholder it names.
      {"<nick>", "x<mynick>", "", "", "x<mynick>"},
      {"<nick> <fake>", "<fake>", "<fake>", "<nick>", "<fake> <nick>"},
      {"<clone>", "bob", "<clone>", "<nick>", "<nick>"},
      {"<nick>", "<nick", "<fake>", "", "<nick"},
      {"<nick>mynick>", "<", "", "", "<mynick>"},
      {"!kick <nick> [auto kick] Forbidden share size pattern: <share> B", "bob", "<share>", "*000000*",
       "!kick bob [auto kick] Forbidden share size pattern: *000000* B"},
      {"", "bob", "<fake>", "1", ""},
  };
  for (const ExpandCase& c : cases) {
    EXPECT_EQ(ExpandTemplate(c.text, c.nick, "Guard", c.placeholder, c.value), c.command) << c.text;
  }
}

TEST(KickReasonTest, IsWhatFollowsTheFirstOccurrenceOfTheNickAndOneByte) {
  EXPECT_EQ(KickReason("!kick bob [auto kick] Proxy connection", "bob"), "[auto kick] Proxy connection");
  // The first "k" is the one in "!kick", so the reason starts inside that word.
  EXPECT_EQ(KickReason("!kick k x", "k"), "ck k x");
  // Without the nick, the reason starts after as many bytes as the nick has.
  EXPECT_EQ(KickReason("gone for good", "bob"), "e for good");
  EXPECT_EQ(KickReason("!kick bob", "bob"), "");
  EXPECT_EQ(KickReason("!kick bob ", "bob"), "");
  EXPECT_EQ(KickReason("ab", "abcdef"), "");
}

struct SendCase {
  const char* name;
  std::string text;  // the proxy template
  bool raw;
  bool kickMessage;
  Lines writes;
};

// bob, in proxy mode, meets the bot Guard whose proxy kick is switched on.
TEST(SendKickTest, PlainAndRawKicks) {
  const std::string plain = "<Guard> !kick bob [auto kick] Proxy connection|";
  const SendCase cases[] = {
      {"plain with kick message",
       "!kick <nick> [auto kick] Proxy connection",
       false,
       true,
       {plain, "<Guard> is kicking bob because: [auto kick] Proxy connection|"}},
      {"plain", "!kick <nick> [auto kick] Proxy connection", false, false, {plain}},
      {"raw default, kick message on",
       KickKindOf(DetectionKind::Proxy).rawDefault,
       true,
       true,
       {"$To: bob From: Guard $<Guard> [auto kick] Proxy connection|<Guard> is kicking bob because: Proxy "
        "connection|<Guard> !kick bob Proxy connection|"}},
      {"raw without its closing bar", "$Kick <nick>", true, false, {"$Kick bob|"}},
      {"no nick in the template",
       "!kick everyone",
       false,
       true,
       {"<Guard> !kick everyone|", "<Guard> is kicking bob because: ck everyone|"}},
  };
  for (const SendCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::BotFixture f;
    f.LogIn("Guard");
    f.control(ctl::kDetectionsCheckBox).SetChecked(true);
    f.control(ctl::kKickProxyCheckBox).SetChecked(true);
    f.control(ctl::kKickProxyCommandEdit).SetText(c.text);
    f.control(ctl::kRawProxyCheckBox).SetChecked(c.raw);
    f.control(ctl::kKickToStatusCheckBox).SetChecked(c.kickMessage);

    f.Receive("$MyINFO $ALL bob <++ V:0.706,M:5,H:1/0/0,S:3>$ $DSL\x01$$1000$|");
    EXPECT_EQ(f.Writes(), c.writes);
    EXPECT_EQ(f.bot->Users().FindUser("bob"), -1);
  }
}

std::string MyInfo(const std::string& nick, const std::string& mode, const std::string& share) {
  return "$MyINFO $ALL " + nick + " <++ V:0.706,M:" + mode + ",H:1/0/0,S:3>$ $DSL\x01$$" + share + "$|";
}

struct HostileNickCase {
  std::string nick;
  DetectionKind kind;
  std::string before;   // sent while detections are still off
  std::string command;  // gets the user kicked
  std::string reason;   // of the default templates
};

// Nicks that spell placeholders: the kick, the private note and the kick
// message all name exactly the user who was found, never the bot.
TEST(SendKickTest, ANickThatSpellsAPlaceholderIsKickedByThatNick) {
  const HostileNickCase cases[] = {
      {"<mynick>", DetectionKind::Proxy, "", MyInfo("<mynick>", "5", "1000"), "Proxy connection"},
      {"<nick>", DetectionKind::Proxy, "", MyInfo("<nick>", "5", "1000"), "Proxy connection"},
      {"a<fake>b", DetectionKind::Fake, "", MyInfo("a<fake>b", "A", "1111111"), "Fake share: 1111111 B"},
      {"x<clone>", DetectionKind::Clone, MyInfo("alice", "A", "12345"), MyInfo("x<clone>", "A", "12345"),
       "Clone of alice"},
      {"<sameip>", DetectionKind::SameIp, "$UserIP alice 10.0.0.7|", "$UserIP <sameip> 10.0.0.7|",
       "Connection from same IP as alice"},
  };
  for (const bool raw : {false, true}) {
    for (const HostileNickCase& c : cases) {
      SCOPED_TRACE(c.nick + (raw ? " raw" : " plain"));
      test::BotFixture f;
      f.LogIn("Guard");
      f.Receive(c.before);
      if (raw) {
        LoadDefaultRawCommands(f.controls());
      } else {
        LoadDefaultCommands(f.controls());
      }
      f.control(ctl::kDetectionsCheckBox).SetChecked(true);
      f.control(KickSwitchName(KickKindOf(c.kind))).SetChecked(true);
      f.control(ctl::kKickToStatusCheckBox).SetChecked(true);
      f.Writes().clear();

      f.Receive(c.command);
      const Lines expected =
          raw ? Lines{"$To: " + c.nick + " From: Guard $<Guard> [auto kick] " + c.reason + "|<Guard> is kicking " +
                      c.nick + " because: " + c.reason + "|<Guard> !kick " + c.nick + " " + c.reason + "|"}
              : Lines{"<Guard> !kick " + c.nick + " [auto kick] " + c.reason + "|",
                      "<Guard> is kicking " + c.nick + " because: [auto kick] " + c.reason + "|"};
      EXPECT_EQ(f.Writes(), expected);
      EXPECT_EQ(f.bot->Counters().Detections(), 1u);
    }
  }
}

// A kick switch without a template reports but never kicks.
TEST(SendKickTest, AnEmptyTemplateNeverKicks) {
  test::BotFixture f;
  f.LogIn("Guard");
  f.control(ctl::kDetectionsCheckBox).SetChecked(true);
  f.control(ctl::kKickProxyCheckBox).SetChecked(true);
  f.control(ctl::kKickProxyCommandEdit).SetText("");

  f.Receive("$MyINFO $ALL bob <++ V:0.706,M:5,H:1/0/0,S:3>$ $DSL\x01$$1000$|");
  EXPECT_EQ(f.Writes(), Lines{});
  EXPECT_EQ(f.bot->Counters().Detections(), 1u);
  EXPECT_GE(f.bot->Users().FindUser("bob"), 0);
}

// The send path refuses it, yet the detection has done its kick: the chain
// stops and the row is not written.
TEST(SendKickTest, ARawTemplateThatIsNoProtocolCommandIsRefusedButCountsAsAKick) {
  test::BotFixture f;
  f.LogIn("Guard");
  f.PlainLines();
  f.control(ctl::kDetectionsCheckBox).SetChecked(true);
  f.control(ctl::kKickFakeCheckBox).SetChecked(true);
  f.control(ctl::kKickFakeCommandEdit).SetText("!kick <nick> fake");
  f.control(ctl::kRawFakeCheckBox).SetChecked(true);
  f.bot->Panes().Clear(PaneId::Chat);

  f.Receive("$MyINFO $ALL bob <++ V:0.706,M:5,H:1/0/0,S:3>$ $DSL\x01$$1111111$|");
  EXPECT_EQ(f.Writes(), Lines{});
  ASSERT_EQ(f.fakes.dialogs.messages.size(), 1u);
  EXPECT_EQ(f.fakes.dialogs.messages[0].kind, DialogKind::Warning);
  EXPECT_EQ(f.fakes.dialogs.messages[0].text,
            "Incorrect protocol message which does not starts with \"$\" or \"<\" was not sent: !kick bob fake");
  EXPECT_EQ(f.ChatLines(), Lines{"*** bob seems to have fake share: 1111111 B"}) << "the proxy check must not run";
  EXPECT_EQ(f.bot->Counters().Detections(), 1u);
  EXPECT_EQ(f.bot->Users().FindUser("bob"), -1);
}

TEST(SendKickTest, TheSharePatternNotTheShareFillsTheShareTemplate) {
  test::BotFixture f;
  f.LogIn("Guard");
  f.control(ctl::kDetectionsCheckBox).SetChecked(true);
  f.control(ctl::kKickShareCheckBox).SetChecked(true);
  f.controls().List(ctl::kKickShareListView).Append("*000000*");

  f.Receive("$MyINFO $ALL bob <++ V:0.706,M:A,H:1/0/0,S:3>$ $DSL\x01$$5000000000$|");
  EXPECT_EQ(f.Writes(), Lines{"<Guard> !kick bob [auto kick] Forbidden share size pattern: *000000* B|"});
  EXPECT_EQ(f.bot->Counters().Detections(), 2u) << "the fake share is reported first";
}

TEST(KickTemplatesTest, LoadingDefaultsSetsEveryTemplateAndRawSwitch) {
  test::BotFixture f;
  ControlModel& controls = f.controls();

  LoadDefaultRawCommands(controls);
  for (const KickKindInfo& kind : KickKinds()) {
    SCOPED_TRACE(kind.name);
    EXPECT_TRUE(controls.Get(RawSwitchName(kind)).Checked());
    const std::string& text = controls.Get(CommandEditName(kind)).Text();
    EXPECT_EQ(text, kind.rawDefault);
    EXPECT_TRUE(text.starts_with("$To: <nick> From: <mynick> $<<mynick>> [auto kick] ")) << text;
    EXPECT_TRUE(text.ends_with("|")) << text;
  }

  LoadDefaultCommands(controls);
  for (const KickKindInfo& kind : KickKinds()) {
    SCOPED_TRACE(kind.name);
    EXPECT_FALSE(controls.Get(RawSwitchName(kind)).Checked());
    EXPECT_EQ(controls.Get(CommandEditName(kind)).Text(), kind.plainDefault);
    EXPECT_TRUE(std::string(kind.plainDefault).starts_with("!kick <nick> [auto kick] ")) << kind.plainDefault;
  }
}

// The plain defaults word for word, as operators know them from the hub's
// chat and as stored files may still hold them.
TEST(KickTemplatesTest, PlainDefaultsSayEachReason) {
  const std::pair<DetectionKind, const char*> expected[] = {
      {DetectionKind::Fake, "!kick <nick> [auto kick] Fake share: <fake> B"},
      {DetectionKind::Proxy, "!kick <nick> [auto kick] Proxy connection"},
      {DetectionKind::Clone, "!kick <nick> [auto kick] Clone of <clone>"},
      {DetectionKind::Limit, "!kick <nick> [auto kick] Upload limit: <limit> KiB/s"},
      {DetectionKind::Nick, "!kick <nick> [auto kick] Forbidden nick pattern: <nickpat>"},
      {DetectionKind::Ip, "!kick <nick> [auto kick] Forbidden IP pattern: <ippat>"},
      {DetectionKind::Description, "!kick <nick> [auto kick] Forbidden description pattern: <descpat>"},
      {DetectionKind::Email, "!kick <nick> [auto kick] Forbidden email pattern: <emailpat>"},
      {DetectionKind::Tag, "!kick <nick> [auto kick] Forbidden tag pattern: <tagpat>"},
      {DetectionKind::Share, "!kick <nick> [auto kick] Forbidden share size pattern: <share> B"},
      {DetectionKind::Hubs, "!kick <nick> [auto kick] Too high hubs count: <hubs>"},
      {DetectionKind::SameIp, "!kick <nick> [auto kick] Connection from same IP as <sameip>"},
  };
  ASSERT_EQ(std::size(expected), KickKinds().size());
  for (const auto& [kind, text] : expected) {
    EXPECT_EQ(KickKindOf(kind).plainDefault, text);
  }
}

// Every raw default holds the same three commands as the plain default says
// in one line: a private note, the kick message and the hub's kick.
TEST(KickTemplatesTest, RawDefaultsCarryThePlainReason) {
  for (const KickKindInfo& kind : KickKinds()) {
    SCOPED_TRACE(kind.name);
    const std::string reason = std::string(kind.plainDefault).substr(std::string("!kick <nick> [auto kick] ").size());
    EXPECT_EQ(kind.rawDefault, "$To: <nick> From: <mynick> $<<mynick>> [auto kick] " + reason +
                                   "|<<mynick>> is kicking <nick> because: " + reason + "|<<mynick>> !kick <nick> " +
                                   reason + "|");
  }
}

}  // namespace
}  // namespace varnek
