#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/commands/BotCommands.h"
#include "core/model/ControlNames.h"
#include "core/users/UserRecord.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

using Lines = std::vector<std::string>;

const std::string kWrongParameters =
    "Wrong parameter specified for command. Type %help to see the available parameters.";
const std::string kForbiddenCharacters =
    "This value can not containt following characters or spaces (excluding spaces in description, email and tag "
    "patterns): &#36; &#124;";

// What one command left behind: the writes to the hub and the status lines.
struct Outcome {
  Lines writes;
  Lines status;
};

// A logged-in bot whose operator "op" sends commands straight to the
// interpreter; pane lines carry no time stamps.
class BotCommandsTest : public ::testing::Test {
 protected:
  BotCommandsTest() {
    f.LogIn("Guard");
    f.PlainLines();
  }

  Outcome Send(std::string_view text) {
    f.Writes().clear();
    f.bot->Panes().Clear(PaneId::Status);
    commands.Execute("op", text);
    return {f.Writes(), f.StatusLines()};
  }

  // The private answer to "op", as written to the socket.
  static std::string Reply(std::string_view text) { return "$To: op From: Guard $<Guard> " + std::string(text) + "|"; }
  // An answer that changed something: the reply and the same status line.
  static Outcome Changed(const std::string& text) { return {{Reply(text)}, {text}}; }
  static Outcome Answered(const std::string& text) { return {{Reply(text)}, {}}; }

  Control& control(std::string_view name) { return f.control(name); }
  StringListModel& list(std::string_view name) { return f.controls().List(name); }

  test::BotFixture f;
  BotCommands commands{{.codePages = f.fakes.codePages,
                        .controls = f.bot->Controls(),
                        .detections = f.bot->Detector(),
                        .kickLog = f.bot->KickEvidence(),
                        .lang = f.bot->Lang(),
                        .panes = f.bot->Panes(),
                        .sender = f.bot->Connection(),
                        .settings = f.bot->Settings(),
                        .users = f.bot->Users()}};
};

void ExpectOutcome(const Outcome& actual, const Outcome& expected, std::string_view text) {
  EXPECT_EQ(actual.writes, expected.writes) << text;
  EXPECT_EQ(actual.status, expected.status) << text;
}

TEST_F(BotCommandsTest, SwitchCommandsSetTheirCheckBoxAndReport) {
  struct Case {
    std::string text;
    std::string control;
    bool checked;
    std::string message;
  };
  const Case cases[] = {
      {"%fake 1", ctl::kKickFakeCheckBox, true, "Fake share detection changed to: 1"},
      {"%fake 0", ctl::kKickFakeCheckBox, false, "Fake share detection changed to: 0"},
      // A prefix test: letters straight after the keyword do not matter.
      {"%fakexyz 1", ctl::kKickFakeCheckBox, true, "Fake share detection changed to: 1"},
      {"%detects 1", ctl::kDetectionsCheckBox, true, "Detection option changed to: 1"},
      {"%below 1", ctl::kKickLimitBelowCheckBox, true, "Only if speed is below option changed to: 1"},
      {"%ip 1", ctl::kKickIpCheckBox, true, "Forbidden IP detection changed to: 1"},
      {"%ophubs 1", ctl::kKickOpHubsCheckBox, true, "Operator hubs count option changed to: 1"},
      {"%opsprot 0", ctl::kProtectedOpsCheckBox, false, "Protect operators option changed to: 0"},
      {"%kickmes 1", ctl::kKickToStatusCheckBox, true, "Changed kick messages option to: 1"},
      {"%kickmes 0", ctl::kKickToStatusCheckBox, false, "Changed kick messages option to: 0"},
  };
  for (const Case& c : cases) {
    ExpectOutcome(Send(c.text), Changed(c.message), c.text);
    EXPECT_EQ(control(c.control).Checked(), c.checked) << c.text;
  }
}

TEST_F(BotCommandsTest, SwitchCommandsTakeOnlyOneOrZero) {
  for (const char* text : {"%fake", "%fake on", "%fake 2", "%fake 1 ", "%fake  1", "%fake1"}) {
    ExpectOutcome(Send(text), Answered(kWrongParameters), text);
    EXPECT_FALSE(control(ctl::kKickFakeCheckBox).Checked()) << text;
  }
}

TEST_F(BotCommandsTest, TextsThatNameNoBotCommandGetNoAnswer) {
  const char* texts[] = {"%FAKE 1", "+fake 1", "fake 1", "hello there", "", "%", "%lstip",
                         // The console's own keywords are no bot commands.
                         "%password x", "%varnek", "%imdb film", "%yahoo x", "%google x", "%winamp"};
  for (const char* text : texts) {
    ExpectOutcome(Send(text), Outcome{}, text);
  }
  EXPECT_FALSE(control(ctl::kKickFakeCheckBox).Checked());
}

TEST_F(BotCommandsTest, ASwitchRunsTheCheckBoxReactionLikeAClick) {
  ASSERT_FALSE(control(ctl::kKickFakeCommandEdit).Enabled());
  Send("%fake 1");
  EXPECT_TRUE(control(ctl::kKickFakeCommandEdit).Enabled());
  EXPECT_TRUE(control(ctl::kRawFakeCheckBox).Enabled());
  Send("%fake 0");
  EXPECT_FALSE(control(ctl::kKickFakeCommandEdit).Enabled());
}

TEST_F(BotCommandsTest, ValueCommandsStoreTheClampedNumber) {
  struct Case {
    std::string text;
    std::string control;
    int value;
    std::string message;
  };
  const Case cases[] = {
      {"%value 1", ctl::kKickLimitBelowSpinEdit, 2, "Upload speed limit value changed to: 2 KiB/s"},
      {"%value 250", ctl::kKickLimitBelowSpinEdit, 250, "Upload speed limit value changed to: 250 KiB/s"},
      {"%value 19860504", ctl::kKickLimitBelowSpinEdit, 99999, "Upload speed limit value changed to: 99999 KiB/s"},
      {"%valusrhubs 5000", ctl::kUserHubsSpinEdit, 999, "User hubs count value changed to: 999"},
      {"%valreghubs $10", ctl::kRegHubsSpinEdit, 16, "Registered hubs count value changed to: 16"},
      {"%valophubs   -5", ctl::kOpHubsSpinEdit, 0, "Operator hubs count value changed to: 0"},
      {"%valophubs 0x1F", ctl::kOpHubsSpinEdit, 31, "Operator hubs count value changed to: 31"},
  };
  for (const Case& c : cases) {
    ExpectOutcome(Send(c.text), Changed(c.message), c.text);
    EXPECT_EQ(control(c.control).Value(), c.value) << c.text;
  }
}

TEST_F(BotCommandsTest, ValueCommandsRefuseWhatIsNotANumber) {
  control(ctl::kKickLimitBelowSpinEdit).SetValue(40);
  for (const char* text :
       {"%value", "%value fast", "%value 12k", "%value 19860505", "%value 2147483648", "%value ", "%value 5 "}) {
    ExpectOutcome(Send(text), Answered(kWrongParameters), text);
    EXPECT_EQ(control(ctl::kKickLimitBelowSpinEdit).Value(), 40) << text;
  }
}

TEST_F(BotCommandsTest, AddCommandsAppendEvenDuplicates) {
  ExpectOutcome(Send("%addnick *bot*"), Changed("Successfully added forbidden nick pattern: *bot*"), "first");
  ExpectOutcome(Send("%addnick *bot*"), Changed("Successfully added forbidden nick pattern: *bot*"), "second");
  EXPECT_EQ(list(ctl::kKickNickListView).Rows(), (Lines{"*bot*", "*bot*"}));

  ExpectOutcome(Send("%adddesc no  sharing "),
                Changed("Successfully added forbidden description pattern: no  sharing "), "spaces kept");
  EXPECT_EQ(list(ctl::kKickDescriptionListView).Rows(), (Lines{"no  sharing "}));
  Send("%addallow Trusted*");
  EXPECT_EQ(list(ctl::kAllowedListView).Rows(), (Lines{"Trusted*"}));
  // Without a space the whole text is the argument, command name included.
  Send("%addtag<++");
  EXPECT_EQ(list(ctl::kKickTagListView).Rows(), (Lines{"%addtag<++"}));
}

TEST_F(BotCommandsTest, AddCommandsRefuseForbiddenCharactersAndMissingArguments) {
  struct Case {
    std::string text;
    std::string reply;
  };
  const Case cases[] = {
      {"%addnick bad nick", kForbiddenCharacters},
      {"%addip 10.0.0.1 ", kForbiddenCharacters},
      {"%addprot a b", kForbiddenCharacters},
      {"%adddesc pay$me", kForbiddenCharacters},
      {"%addemail a|b@example.invalid", kForbiddenCharacters},
      {"%addtag <x$", kForbiddenCharacters},
      {"%addip", kWrongParameters},
      {"%addip ", kWrongParameters},
      {"%addshare ", kWrongParameters},
  };
  for (const Case& c : cases) {
    ExpectOutcome(Send(c.text), Answered(c.reply), c.text);
  }
  for (const char* name :
       {ctl::kKickNickListView, ctl::kKickIpListView, ctl::kProtectedListView, ctl::kKickDescriptionListView,
        ctl::kKickEmailListView, ctl::kKickTagListView, ctl::kKickShareListView}) {
    EXPECT_EQ(list(name).Count(), 0) << name;
  }
}

TEST_F(BotCommandsTest, DeleteRemovesOnlyTheFirstRowEqualByteForByte) {
  list(ctl::kKickNickListView).Assign({"x*", "y", "x*"});
  ExpectOutcome(Send("%delnick x*"), Changed("Successfully deleted forbidden nick pattern: x*"), "delete");
  EXPECT_EQ(list(ctl::kKickNickListView).Rows(), (Lines{"y", "x*"}));

  // Other letter case, a wildcard, or a trailing blank: nothing is equal.
  for (const char* text : {"%delnick X*", "%delnick *", "%delnick y "}) {
    const std::string argument = std::string(text).substr(9);
    ExpectOutcome(Send(text), Answered("Not found: " + argument), text);
  }
  EXPECT_EQ(list(ctl::kKickNickListView).Rows(), (Lines{"y", "x*"}));

  for (const char* text : {"%delip", "%delip "}) {
    ExpectOutcome(Send(text), Answered(kWrongParameters), text);
  }
  // No character check: a row that somehow holds a "$" can still go.
  list(ctl::kAllowedListView).Assign({"a b$"});
  // The reply carries it escaped, the status line as it is.
  ExpectOutcome(Send("%delallow a b$"),
                {{Reply("Successfully deleted allowed user: a b&#36;")}, {"Successfully deleted allowed user: a b$"}},
                "unchecked");
  EXPECT_EQ(list(ctl::kAllowedListView).Count(), 0);
}

TEST_F(BotCommandsTest, ListCommandsShowEveryRowAfterTheTitle) {
  ExpectOutcome(Send("%lstnick"), Answered("List of forbidden nick patterns\r\n\r\n"), "empty");
  // A row that somehow holds "$" or "|" goes out escaped, so that it cannot
  // end the private message.
  list(ctl::kKickIpListView).Assign({"10.*", "a$b|c"});
  ExpectOutcome(Send("%lsttip please"), Answered("List of forbidden IP patterns\r\n\r\n\t10.*\r\n\ta&#36;b&#124;c\r\n"),
                "ip");
  list(ctl::kAllowedListView).Assign({"one"});
  ExpectOutcome(Send("%lstallow"), Answered("List of allowed users\r\n\r\n\tone\r\n"), "allowed");
}

TEST_F(BotCommandsTest, InfoAnswersWithEveryColumnOfTheUser) {
  UserList& users = f.bot->Users();
  users.AppendUser("someone");
  const int row = users.AppendUser("alice");
  const char* cells[] = {"alice",  "1.50 GiB", "1610612736 B", "hello",   "<++ V:0.7>", "A", "DSL",
                         "Normal", "",         "3 KiB/s",      "10.0.0.7"};
  for (int column = 1; column < kUserColumnCount; ++column) {
    users.SetCell(row, static_cast<UserColumn>(column), cells[column]);
  }
  const std::string expected =
      "User information\r\n\r\n"
      "\tUsername: alice\r\n"
      "\tShare size: 1.50 GiB\r\n"
      "\tExact share size: 1610612736 B\r\n"
      "\tDescription: hello\r\n"
      "\tTag: <++ V:0.7>\r\n"
      "\tMode: A\r\n"
      "\tConnection type: DSL\r\n"
      "\tStatus: Normal\r\n"
      "\tEmail address: \r\n"
      "\tUpload limit: 3 KiB/s\r\n"
      "\tIP: 10.0.0.7\r\n";
  EXPECT_EQ(commands.UserInformationText(row), expected);
  ExpectOutcome(Send("%info alice"), Answered(expected), "found");
  ExpectOutcome(Send("%info ALICE"), Answered("Not found: ALICE"), "other case");
  ExpectOutcome(Send("%info bob"), Answered("Not found: bob"), "missing");
  ExpectOutcome(Send("%info"), Answered(kWrongParameters), "alone");
  ExpectOutcome(Send("%info "), Answered(kWrongParameters), "empty");
}

TEST_F(BotCommandsTest, HelpListsEveryCommandWithCurrentStates) {
  control(ctl::kKickFakeCheckBox).SetChecked(true);
  control(ctl::kUserHubsSpinEdit).SetValue(5);
  const std::string expected =
      "List of available bot commands\r\n\r\n"
      "\t%help\t\t\t\t- This list of commands\r\n"
      "\t%save\t\t\t\t- Save settings\r\n"
      "\t%detects <1/0>\t\t\t- All detections on/off (current status: 0)\r\n"
      "\t%fake <1/0>\t\t\t- Fake share detection on/off (current status: 1)\r\n"
      "\t%proxy <1/0>\t\t\t- Proxy detection on/off (current status: 0)\r\n"
      "\t%clone <1/0>\t\t\t- Clone detection on/off (current status: 0)\r\n"
      "\t%limit <1/0>\t\t\t- Upload speed limit detection on/off (current status: 0)\r\n"
      "\t%below <1/0>\t\t\t- Only limit below on/off (current status: 0)\r\n"
      "\t%value <value>\t\t\t- Value of limit below (current value: 2)\r\n"
      "\t%sameip <1/0>\t\t\t- Connections from same IP detection on/off (current status: 0)\r\n"
      "\t%nick <1/0>\t\t\t- Forbidden nick detection on/off (current status: 0)\r\n"
      "\t%lstnick\t\t\t\t- List of nick patterns\r\n"
      "\t%addnick <pattern>\t\t- Add nick pattern (use * as any character)\r\n"
      "\t%delnick <pattern>\t\t- Delete nick pattern\r\n"
      "\t%ip <1/0>\t\t\t- Forbidden IP detection on/off (current status: 0)\r\n"
      "\t%lsttip\t\t\t\t- List of IP patterns\r\n"
      "\t%addip <pattern>\t\t\t- Add IP pattern (use * as any character)\r\n"
      "\t%delip <pattern>\t\t\t- Delete IP pattern\r\n"
      "\t%share <1/0>\t\t\t- Forbidden share size detection on/off (current status: 0)\r\n"
      "\t%lstshare\t\t\t- List of share size patterns\r\n"
      "\t%addshare <pattern>\t\t- Add share size pattern (use * as any character)\r\n"
      "\t%delshare <pattern>\t\t- Delete share size pattern\r\n"
      "\t%desc <1/0>\t\t\t- Forbidden description detection on/off (current status: 0)\r\n"
      "\t%lstdesc\t\t\t\t- List of description patterns\r\n"
      "\t%adddesc <pattern>\t\t- Add description pattern (use * as any character)\r\n"
      "\t%deldesc <pattern>\t\t- Delete description pattern\r\n"
      "\t%email <1/0>\t\t\t- Forbidden email address detection on/off (current status: 0)\r\n"
      "\t%lstemail\t\t\t\t- List of email address patterns\r\n"
      "\t%addemail <pattern>\t\t- Add email address pattern (use * as any character)\r\n"
      "\t%delemail <pattern>\t\t- Delete email address pattern\r\n"
      "\t%tag <1/0>\t\t\t- Forbidden tag detection on/off (current status: 0)\r\n"
      "\t%lsttag\t\t\t\t- List of tag patterns\r\n"
      "\t%addtag <pattern>\t\t- Add tag pattern (use * as any character)\r\n"
      "\t%deltag <pattern>\t\t- Delete tag pattern\r\n"
      "\t%usrhubs <1/0>\t\t\t- User hubs count detection on/off (current status: 0)\r\n"
      "\t%valusrhubs <value>\t\t- Value of user hubs count (current value: 5)\r\n"
      "\t%reghubs <1/0>\t\t\t- Registered hubs count detection on/off (current status: 0)\r\n"
      "\t%valreghubs <value>\t\t- Value of registered hubs count (current value: 99)\r\n"
      "\t%ophubs <1/0>\t\t\t- Operator hubs count detection on/off (current status: 0)\r\n"
      "\t%valophubs <value>\t\t- Value of operator hubs count (current value: 99)\r\n"
      "\t%prot <1/0>\t\t\t- Protected users on/off (current status: 0)\r\n"
      "\t%opsprot <1/0>\t\t\t- Operators are protected from detections on/off (current status: 1)\r\n"
      "\t%lstprot\t\t\t\t- List of protected users\r\n"
      "\t%addprot <username>\t\t- Add protected user (use * as any character)\r\n"
      "\t%delprot <username>\t\t- Delete protected user\r\n"
      "\t%allow <1/0>\t\t\t- Users are allowed to use commands on/off (current status: 0)\r\n"
      "\t%opsallow <1/0>\t\t\t- Operators are allowed to use commands on/off (current status: 1)\r\n"
      "\t%lstallow\t\t\t\t- List of allowed users\r\n"
      "\t%addallow <username>\t\t- Add allowed user (use * as any character)\r\n"
      "\t%delallow <username>\t\t- Delete allowed user\r\n"
      "\t%kickmes <1/0>\t\t\t- Send kick messages to hub chat on/off (current status: 0)\r\n"
      "\t%info <username>\t\t\t- Prints all available information about <username>\r\n"
      "\t%hits\t\t\t\t- Lists the 20 patterns that matched the most users since the start\r\n"
      "\t%test <list> <pattern>\t\t- Shows the online users that <pattern> would match; <list> is nick, ip, desc, "
      "email, tag or share\r\n"
      "\t%why <username>\t\t\t- Shows the last kick or report of <username> from the kick log\r\n";
  EXPECT_EQ(commands.BuildHelpText(), expected);
  ExpectOutcome(Send("%help"), Answered(expected), "help");
  ExpectOutcome(Send("%helpme now"), Answered(expected), "prefix");
}

// "hits" counts every user a forbidden pattern matched, by pattern text and
// list; rows without hits are left out, the most hit come first.
TEST_F(BotCommandsTest, HitsListsTheMostMatchedPatternRows) {
  ExpectOutcome(Send("%hits"), Answered("No pattern has matched a user since the start"), "none yet");
  f.control(ctl::kDetectionsCheckBox).SetChecked(true);
  for (const char* pattern : {"*spam*", "never*", "*spam*"}) {
    list(ctl::kKickNickListView).Append(pattern);
  }
  list(ctl::kKickTagListView).Append("*V:0.1*");
  list(ctl::kKickDescriptionListView).Append("*ad*");
  f.Receive("$MyINFO $ALL spam1 <++ V:0.1,M:A,H:1/0/0,S:1>$ $DSL\x01$$1$|");
  f.Receive("$MyINFO $ALL spam2 <++ V:0.1,M:A,H:1/0/0,S:1>$ $DSL\x01$$1$|");
  f.Receive("$MyINFO $ALL ann <++ V:0.1,M:A,H:1/0/0,S:1>$ $DSL\x01$$1$|");
  f.Receive("$MyINFO $ALL bob read my ad<++ V:0.2,M:A,H:1/0/0,S:1>$ $DSL\x01$$1$|");
  ExpectOutcome(Send("%hits"),
                Answered("Patterns with the most hits (list: pattern: hits)\r\n"
                         "\r\n\ttag: *V:0.1*: 3\r\n\tnick: *spam*: 2\r\n\tdesc: *ad*: 1\r\n"),
                "counted");
}

TEST_F(BotCommandsTest, HitsShowsAtMostTwentyRowsAndOnlyRowsStillListed) {
  f.control(ctl::kDetectionsCheckBox).SetChecked(true);
  list(ctl::kKickNickListView).Append("*");
  for (int i = 0; i < 25; ++i) {
    const std::string number = std::to_string(i);
    list(ctl::kKickTagListView).Append("*S:" + number + ">");
    f.Receive("$MyINFO $ALL u" + number + " <++ V:1,M:A,H:1/0/0,S:" + number + ">$ $DSL\x01$$1$|");
  }
  const auto rowsOf = [](const std::string& shown) {
    std::size_t rows = 0;
    for (std::size_t at = shown.find("\r\n\t"); at != std::string::npos; at = shown.find("\r\n\t", at + 1)) {
      ++rows;
    }
    return rows;
  };
  const std::string shown = Send("%hits").writes.at(0);
  EXPECT_EQ(rowsOf(shown), 20u) << shown;
  EXPECT_NE(shown.find("\r\n\r\n\tnick: *: 25\r\n\ttag: *S:0>: 1\r\n"), std::string::npos) << shown;
  EXPECT_NE(shown.find("\ttag: *S:18>: 1\r\n"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("*S:19>"), std::string::npos) << shown;

  list(ctl::kKickNickListView).RemoveAt(0);
  const std::string withoutNick = Send("%hits").writes.at(0);
  EXPECT_EQ(rowsOf(withoutNick), 20u) << withoutNick;
  EXPECT_EQ(withoutNick.find("\tnick:"), std::string::npos) << withoutNick;
}

// "test" tries a pattern on the users online with the value its detection
// would read, before the operator adds it.
TEST_F(BotCommandsTest, TestCountsTheOnlineUsersAPatternWouldMatch) {
  for (int i = 0; i < 12; ++i) {
    f.Receive("$MyINFO $ALL spam" + std::to_string(i) + " <++ V:1,M:A,H:1/0/0,S:1>$ $DSL\x01$$5000$|");
  }
  f.Receive("$MyINFO $ALL ann free [stuff]<++ V:2,M:P,H:1/0/0,S:1>$ $DSL\x01$ann@mail$123$|");
  f.Receive("$UserIP ann 10.1.2.3|");
  struct Case {
    const char* text;
    const char* answer;
  };
  const Case cases[] = {
      {"%test nick spam*",
       "spam* matches 12 online users: spam0, spam1, spam2, spam3, spam4, spam5, spam6, spam7, spam8, spam9"},
      {"%test nick ANN", "ANN matches 1 online users: ann"},
      {"%test nick nobody", "nobody matches 0 online users"},
      {"%test desc *[stuff]", "*[stuff] matches 1 online users: ann"},
      {"%test email *@mail", "*@mail matches 1 online users: ann"},
      {"%test tag *M:P*", "*M:P* matches 1 online users: ann"},
      {"%test share 5000",
       "5000 matches 12 online users: spam0, spam1, spam2, spam3, spam4, spam5, spam6, spam7, "
       "spam8, spam9"},
      {"%test share *B", "*B matches 0 online users"},  // the bytes as the hub sent them, not the cell's unit
      {"%test ip 10.*", "10.* matches 1 online users: ann"},
      {"%test ip *", "* matches 1 online users: ann"},  // users whose IP is not known are not tried
  };
  for (const Case& c : cases) {
    ExpectOutcome(Send(c.text), Answered(c.answer), c.text);
  }
  EXPECT_EQ(f.bot->Detector().MostHitPatterns(20).size(), 0u) << "a trial counts no hit";
}

TEST_F(BotCommandsTest, TestRefusesAnUnknownListAMissingPatternAndOneThatCanNeverMatch) {
  for (const char* text : {"%test", "%test nick", "%test nick ", "%test users *", "%testnick *"}) {
    ExpectOutcome(Send(text), Answered(kWrongParameters), text);
  }
  std::string tooManyStars;
  for (int run = 0; run < 31; ++run) {
    tooManyStars += "*a";
  }
  ExpectOutcome(Send("%test nick " + tooManyStars),
                Answered(tooManyStars + " can never match: it holds more than 30 runs of \"*\""), "stars");
}

// "why" answers with the kick log's last line of the nick. In a private
// message "$" and "|" are escaped: the line holds the raw command that was
// sent, which would otherwise go to the hub again as the bot's own.
TEST_F(BotCommandsTest, WhyAnswersWithTheKickLogsLastLineOfTheNick) {
  ExpectOutcome(Send("%why"), Answered(kWrongParameters), "no nick");
  ExpectOutcome(Send("%why "), Answered(kWrongParameters), "empty nick");
  ExpectOutcome(Send("%why bob"), Answered("No kick recorded for bob"), "nothing logged");
  control(ctl::kDetectionsCheckBox).SetChecked(true);
  control(ctl::kKickProxyCheckBox).SetChecked(true);
  control(ctl::kRawProxyCheckBox).SetChecked(true);
  control(ctl::kKickProxyCommandEdit).SetText("$Kick <nick>|");
  f.Receive("$MyINFO $ALL bob <++ V:1,M:5,H:1/0/0,S:3>$ $DSL\x01$$1$|");
  const std::string line =
      "2026-12-10 @ 14:05:09\tbob\t\tProxy\t5\tkicked\t$Kick bob|\t$MyINFO $ALL bob <++ V:1,M:5,H:1/0/0,S:3>$ "
      "$DSL\x01$$1$";
  ExpectOutcome(
      Send("%why bob"),
      Answered("2026-12-10 @ 14:05:09\tbob\t\tProxy\t5\tkicked\t&#36;Kick bob&#124;\t&#36;MyINFO &#36;ALL bob "
               "<++ V:1,M:5,H:1/0/0,S:3>&#36; &#36;DSL\x01&#36;&#36;1&#36;"),
      "kicked");
  ExpectOutcome(Send("%why Bob"), Answered("No kick recorded for Bob"), "nicks are compared exactly");
  std::string local;
  EXPECT_TRUE(commands.ExecuteLocally("%why bob", [&local](std::string_view reply) { local = reply; }));
  EXPECT_EQ(local, line) << "the local operator reads the line as it is";

  // A log that cannot be read: the remote operator learns why, but not
  // where the program keeps its files; the status pane and the local
  // operator get the whole path.
  std::filesystem::remove(f.dir / "logs" / "kicks.txt");
  std::filesystem::create_directory(f.dir / "logs" / "kicks.txt");
  const std::string path = (f.dir / "logs" / "kicks.txt").string();
  ExpectOutcome(Send("%why bob"),
                Outcome{{Reply("Kick log: Cannot read file \"logs/kicks.txt\": Is a directory")},
                        {"Kick log: Cannot read file \"" + path + "\": Is a directory"}},
                "unreadable log");
  EXPECT_TRUE(commands.ExecuteLocally("%why bob", [&local](std::string_view reply) { local = reply; }));
  EXPECT_EQ(local, "Kick log: Cannot read file \"" + path + "\": Is a directory");
}

TEST_F(BotCommandsTest, AnotherTriggerIsUsedForMatchingHelpAndHints) {
  control(ctl::kTriggerComboBox).SetValue(2);  // the section sign, byte A7
  ExpectOutcome(Send("%fake 1"), Outcome{}, "old trigger");
  ExpectOutcome(Send("\xA7"
                     "fake 1"),
                Changed("Fake share detection changed to: 1"), "section sign");
  ExpectOutcome(Send("\xA7"
                     "fake yes"),
                Answered("Wrong parameter specified for command. Type \xA7"
                         "help to see the available parameters."),
                "hint");
  EXPECT_NE(commands.BuildHelpText().find("\r\n\t\xA7"
                                          "fake <1/0>\t\t\t- "),
            std::string::npos);
  EXPECT_EQ(commands.BuildHelpText().find("\t%"), std::string::npos);
}

TEST_F(BotCommandsTest, RepliesAndHelpFollowTheLanguageTableOfTheMoment) {
  LangTable& lang = f.bot->Lang();
  lang.SetText(LangFakeChanged, "Falsch: %s");
  lang.SetText(LangVnHelp, "Hilfe");
  lang.SetText(LangCurrentStatus, "[%s]");
  ExpectOutcome(Send("%fake 1"), Changed("Falsch: 1"), "reply");
  const std::string help = commands.BuildHelpText();
  EXPECT_NE(help.find("\t%help\t\t\t\t- Hilfe\r\n"), std::string::npos);
  EXPECT_NE(help.find("\t%fake <1/0>\t\t\t- Fake share detection on/off [1]\r\n"), std::string::npos);
}

TEST_F(BotCommandsTest, SaveWritesTheSettingsFileAndAnswers) {
  Send("%fake 1");
  const Outcome saved = Send("%save");
  // The save notes itself in the status pane; the command adds nothing.
  ExpectOutcome(saved, Changed("Settings was succesfully saved"), "save");
  const std::string ini = test::TempDir::ReadFile(f.dir / "Varnek.ini");
  EXPECT_NE(ini.find("KickFake=1"), std::string::npos) << ini;
}

// The whole road: private messages through the bot's chat handling.
TEST_F(BotCommandsTest, AnOperatorWhoSwitchesOperatorsOffLosesHisRightsFromTheNextMessage) {
  f.bot->SetCommandRunner([this](std::string_view sender, std::string_view text) { commands.Execute(sender, text); });
  f.AddOperator("op");
  f.Writes().clear();

  f.Receive("$To: Guard From: op $<op> %valophubs &#36;10|");
  EXPECT_EQ(control(ctl::kOpHubsSpinEdit).Value(), 16);
  f.Receive("$To: Guard From: op $<op> %opsallow 0|");
  EXPECT_FALSE(control(ctl::kCmdOpsCheckBox).Checked());
  EXPECT_EQ(f.Writes(),
            (Lines{Reply("Operator hubs count value changed to: 16"), Reply("Allow operators option changed to: 0")}));

  f.Writes().clear();
  f.Receive("$To: Guard From: op $<op> %fake 1|");
  EXPECT_FALSE(control(ctl::kKickFakeCheckBox).Checked());
  ASSERT_EQ(f.Writes().size(), 1u);
  EXPECT_TRUE(f.Writes()[0].starts_with("$To: op From: Guard $<Guard> I do not accept any private messages"))
      << f.Writes()[0];
}

}  // namespace
}  // namespace varnek
