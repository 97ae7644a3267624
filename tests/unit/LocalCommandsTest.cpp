// The local operator's commands of the bot, as the headless console gives
// them: settings by key, bot commands answered locally, the connection and
// the user list menu's actions by nick.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/BotActions.h"
#include "core/hub/HubSession.h"
#include "core/model/ControlNames.h"
#include "core/store/OutputPanes.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

class LocalCommandsTest : public ::testing::Test {
 protected:
  LocalCommandsTest() { f.PlainLines(); }

  LocalReply Set(const std::string& key, const std::string& value) { return actions.SetSetting(key, value); }

  test::BotFixture f;
  BotActions actions{*f.bot};
};

void ExpectDone(const LocalReply& reply, const std::string& text, const std::string& what) {
  EXPECT_TRUE(reply.done) << what << ": " << reply.text;
  EXPECT_EQ(reply.text, text) << what;
}

void ExpectRefused(const LocalReply& reply, const std::string& reason, const std::string& what) {
  EXPECT_FALSE(reply.done) << what << ": " << reply.text;
  EXPECT_NE(reply.text.find(reason), std::string::npos) << what << ": " << reply.text;
}

// --- settings by key -----------------------------------------------------------

TEST_F(LocalCommandsTest, SetTakesAValueAsTheFieldWouldTakeItTyped) {
  struct Case {
    std::string key, value;
    bool done;
    std::string reply;  // the whole reply, or a part of the refusal
  };
  const Case cases[] = {
      {"port", "4111", true, "Port=4111"},
      {"Port", "41a", false, "Port takes digits only"},
      {"Port", "123456", false, "Port takes at most 5 characters"},
      {"Username", "two words", false, "Username cannot hold a blank, \"|\" or \"$\""},
      {"Description", std::string(51, 'd'), false, "Description takes at most 50 characters"},
      {"Lines", "5", true, "Lines=10"},
      {"Lines", "-5", false, "Lines takes a number from 10 to 10000"},
      {"Trigger", "!", true, "Trigger=3"},
      {"Trigger", "10", true, "Trigger=10"},
      {"Trigger", "11", false, "Trigger takes a number from 0 to 10 or one of %, +"},
      {"Mode", "active", true, "Mode=1"},
      {"Encoding", "utf-8", true, "Encoding=UTF-8"},
      {"Encoding", "latin-9", false, "Encoding takes one of windows-1250"},
      {"ChatColor", "$00FF00", true, "ChatColor=65280"},
      {"ChatColor", "16777216", false, "ChatColor takes a colour"},
      {"Detections", "1", true, "Detections=1"},
      {"Detections", "on", false, "Detections takes 1 or 0"},
      {"LogNice", "0", false, "select another with LogNo, LogFull or LogNice 1"},
      {"LogFull", "0", true, "LogFull=0"},
      {"ScrollChat", "0", true, "ScrollChat=0"},
      {"Message", "one&#13;&#10;two", true, "Message=one&#13;&#10;two"},
      {"Username", std::string("a\0b", 3), false, "Username cannot hold control characters"},
      {"Description", "x\x1b[2J", false, "Description cannot hold control characters"},
      {"Dns", "hub\x7f", false, "Dns cannot hold control characters"},
      {"Message", "one\x01", false, "Message cannot hold control characters other than line breaks and tabs"},
      // Fields without a typing limit keep what the settings file reads back.
      {"ColumnWidths", std::string(100000, '1'), false, "ColumnWidths takes at most 2047 characters"},
      {"ColumnOrder", std::string(2047, '1'), true, "ColumnOrder=" + std::string(2047, '1')},
      {"Nick", "1", false, "unknown key \"Nick\""},
  };
  for (const Case& c : cases) {
    const LocalReply reply = Set(c.key, c.value);
    if (c.done) {
      ExpectDone(reply, c.reply, c.key + " " + c.value);
    } else {
      ExpectRefused(reply, c.reply, c.key + " " + c.value);
    }
  }
  EXPECT_EQ(f.control(ctl::kBotMessageMemo).Text(), "one\r\ntwo");
  EXPECT_FALSE(f.bot->Panes().Pane(PaneId::Chat).AutoScroll());
  EXPECT_EQ(f.control(ctl::kHubPortEdit).Text(), "4111") << "a refused value changes nothing";
  ExpectRefused(actions.GetSetting("nick patterns"), "[Nick patterns] is a list of its own", "a list");
}

// A change runs the control's reactions, and a control that its switch
// keeps disabled is refused, naming the switch.
TEST_F(LocalCommandsTest, SetRunsTheReactionsAndRefusesDisabledFields) {
  ExpectRefused(Set("RawFake", "1"), "RawFake cannot be changed now: KickFake must be 1", "raw before kick");
  ExpectRefused(Set("Value", "10"), "Value cannot be changed now: KickLimit and Below must be 1", "limit value");
  ExpectRefused(Set("RawHubs", "1"), "one of KickUserHubs, KickRegHubs or KickOpHubs must be 1", "hubs");

  ExpectDone(Set("KickFake", "1"), "KickFake=1", "kick switch");
  EXPECT_TRUE(f.control(ctl::kRawFakeCheckBox).Enabled());
  ExpectRefused(Set("CommandFake", "$Kick <nick>"), "CommandFake cannot hold \"|\" or \"$\" while RawFake is 0",
                "template before raw");
  ExpectDone(Set("RawFake", "1"), "RawFake=1", "raw switch");
  ExpectDone(Set("CommandFake", "$Kick <nick>"), "CommandFake=$Kick <nick>", "raw template");

  ExpectDone(Set("LogFull", "1"), "LogFull=1", "debug mode");
  EXPECT_FALSE(f.control(ctl::kNiceLogCheckBox).Checked());

  f.Connect();
  ExpectRefused(Set("Dns", "other.hub"), "Dns cannot be changed now: the bot is connected (\":disconnect\" first)",
                "while connected");
}

// What ":get" shows can be given to ":set" again and changes nothing.
TEST_F(LocalCommandsTest, EveryKeyReadsBackAsItIsSet) {
  f.control(ctl::kBotMessageMemo).SetText("a &# b\r\nc");
  const std::vector<std::string> keys = actions.SettingKeys();
  ASSERT_GT(keys.size(), 80u);
  for (const std::string& key : keys) {
    if (key == "Password") {
      continue;  // shown only as "(set)" or "(not set)": see below
    }
    const LocalReply got = actions.GetSetting(key);
    ASSERT_TRUE(got.done) << key;
    ASSERT_TRUE(got.text.starts_with(key + "=")) << got.text;
    const std::string value = got.text.substr(key.size() + 1);
    const LocalReply set = Set(key, value);
    if (set.done) {
      EXPECT_EQ(set.text, got.text) << key;
    } else {
      // Only fields the window shows disabled.
      EXPECT_NE(set.text.find("cannot be changed now"), std::string::npos) << key << ": " << set.text;
    }
  }
  EXPECT_EQ(f.control(ctl::kBotMessageMemo).Text(), "a &# b\r\nc");
}

// The password is never shown, whichever way it is asked for, and setting it
// answers without it; it is still set as typed.
TEST_F(LocalCommandsTest, ThePasswordIsShownOnlyAsSetOrNotSet) {
  ExpectDone(actions.GetSetting("Password"), "Password=(not set)", "empty");
  ExpectDone(Set("password", "s3cret word"), "Password=(set)", "set");
  EXPECT_EQ(f.control(ctl::kPasswordEdit).Text(), "s3cret word");
  ExpectDone(actions.GetSetting("PASSWORD"), "Password=(set)", "get");
  const LocalReply list = actions.ListSettings();
  EXPECT_NE(list.text.find("\r\nPassword=(set)\r\n"), std::string::npos) << list.text;
  EXPECT_EQ(list.text.find("s3cret"), std::string::npos) << list.text;
  ExpectRefused(Set("Password", std::string(36, 'p')), "Password takes at most 35 characters", "too long");
  EXPECT_EQ(f.control(ctl::kPasswordEdit).Text(), "s3cret word");
  ExpectDone(Set("Password", ""), "Password=(not set)", "emptied");
}

// ":get" alone: every setting as its own ":get" shows it, in the file's
// order, without the window's size, splitter and columns, which a headless
// operator has no use for; each of those still answers by name.
TEST_F(LocalCommandsTest, TheListLeavesOutTheWindowGeometry) {
  const std::vector<std::string> geometry = {"Width", "Height", "Splitter", "ColumnWidths", "ColumnOrder"};
  std::string expected;
  for (const std::string& key : actions.SettingKeys()) {
    if (std::find(geometry.begin(), geometry.end(), key) != geometry.end()) {
      continue;
    }
    expected += (expected.empty() ? "" : "\r\n") + actions.GetSetting(key).text;
  }
  const LocalReply list = actions.ListSettings();
  EXPECT_TRUE(list.done);
  EXPECT_EQ(list.text, expected);
  for (const std::string& key : geometry) {
    EXPECT_EQ(list.text.find("\n" + key + "="), std::string::npos) << key;
    EXPECT_TRUE(actions.GetSetting(key).text.starts_with(key + "=")) << key;
  }
}

// --- bot commands of the local operator ------------------------------------------

TEST_F(LocalCommandsTest, BotCommandsAnswerLocallyAndSendNothing) {
  f.LogIn();
  const LocalReply changed = actions.RunBotCommandLocally("%detects 1");
  ExpectDone(changed, "Detection option changed to: 1", "detects");
  EXPECT_TRUE(f.control(ctl::kDetectionsCheckBox).Checked());
  EXPECT_EQ(f.StatusLines().back(), "Detection option changed to: 1");

  ExpectDone(actions.RunBotCommandLocally("%addnick *spam*"), "Successfully added forbidden nick pattern: *spam*",
             "addnick");
  ExpectDone(actions.RunBotCommandLocally("%lstnick"), "List of forbidden nick patterns\r\n\r\n\t*spam*\r\n",
             "lstnick");
  ExpectDone(actions.RunBotCommandLocally("%value x"),
             "Wrong parameter specified for command. Type %help to see the available parameters.", "value");
  EXPECT_TRUE(f.Writes().empty()) << f.Writes().front();

  ExpectRefused(actions.RunBotCommandLocally("detects 1"),
                "no bot command \"detects 1\"; bot commands begin with the trigger %", "no trigger");
  // The replies go out by private message again for the hub's operators.
  f.AddOperator("boss");
  f.Receive("$To: Guard From: boss $<boss> %detects 0|");
  ASSERT_FALSE(f.Writes().empty());
  EXPECT_EQ(f.Writes().back(), "$To: boss From: Guard $<Guard> Detection option changed to: 0|");
}

TEST_F(LocalCommandsTest, AFailedSaveIsToldWithoutTheLastResortQuestion) {
  f.Start();
  std::filesystem::create_directory(f.dir.Path() / "Varnek.ini");  // cannot be replaced
  const LocalReply saved = actions.RunBotCommandLocally("%save");
  EXPECT_FALSE(saved.done);
  EXPECT_FALSE(saved.text.empty());
  ExpectRefused(actions.SaveSettingsAndTell(), saved.text, "save");
  for (const auto& message : f.fakes.dialogs.messages) {
    EXPECT_NE(message.question, Question::UnexpectedError) << message.text;
  }
}

// --- the connection ----------------------------------------------------------------

TEST_F(LocalCommandsTest, DisconnectEndsWhateverKeepsTheBotGoing) {
  ExpectRefused(actions.DisconnectFromHub(), "not connected", "idle");

  f.LogIn();
  ExpectRefused(actions.ConnectToHub(), "already connected to 127.0.0.1:411", "connected");
  ExpectDone(actions.DisconnectFromHub(), "disconnected from 127.0.0.1:411", "connected");
  EXPECT_FALSE(f.bot->Session().reconnectPending);

  f.LogIn();
  f.fakes.transport.PeerClose();  // lost: a reconnect waits
  ASSERT_TRUE(f.bot->Session().reconnectPending);
  ExpectDone(actions.DisconnectFromHub(), "reconnect cancelled", "waiting");
  EXPECT_FALSE(f.bot->Session().reconnectPending);

  ExpectDone(actions.ConnectToHub(), "connecting to 127.0.0.1:411", "idle");
  ASSERT_TRUE(f.fakes.transport.open);
  ExpectDone(actions.DisconnectFromHub(), "stopped connecting to 127.0.0.1:411", "connecting");
  EXPECT_FALSE(f.fakes.transport.open);
  EXPECT_FALSE(f.bot->Session().reconnectPending);
}

// --- the user list menu by nick ---------------------------------------------------

TEST_F(LocalCommandsTest, UserMenuActionsByNick) {
  f.LogIn();
  f.Receive("$MyINFO $ALL alice my desc<++ V:0.868,M:A,H:1/0/0,S:2>$ $DSL\x01$$1073741824$|");
  f.Receive("$MyINFO $ALL bob <++ V:1,M:P,H:1/0/0,S:1>$ $LAN\x01$$0$|$UserIP bob 10.0.0.2|");

  ExpectRefused(actions.IpLookupAddress("alice"), "the hub has sent no IP of alice", "no IP");
  ExpectDone(actions.IpLookupAddress("bob"), "https://www.dnsstuff.com/tools/ipall.ch?ip=10.0.0.2", "ip");
  ExpectDone(actions.CopyUserText("alice", "description"), "my desc", "field");
  ExpectDone(actions.CopyUserText("bob", "IP"), "10.0.0.2", "field");
  ExpectRefused(actions.CopyUserText("bob", "Email"), "bob has no Email", "empty field");
  ExpectRefused(actions.CopyUserText("bob", "colour"), "unknown field \"colour\"; the fields are Username, Share",
                "field");
  const LocalReply summary = actions.CopyUserText("bob", "");
  EXPECT_TRUE(summary.text.starts_with("Username: bob\r\n")) << summary.text;
  EXPECT_TRUE(summary.text.ends_with("\r\nIP: 10.0.0.2")) << summary.text;

  ExpectDone(actions.TakeAsOpChat("bob"), "OpChat=bob", "opchat");
  ExpectDone(actions.AllowUser("bob"), "added bob to the allowed users", "allow");
  ExpectDone(actions.ProtectUser("alice"), "added alice to the protected users", "protect");
  EXPECT_EQ(f.controls().List(ctl::kAllowedListView).Rows(), std::vector<std::string>{"bob"});
  EXPECT_EQ(f.controls().List(ctl::kProtectedListView).Rows(), std::vector<std::string>{"alice"});
  ExpectRefused(actions.AllowUser("carol"), "no user \"carol\" in the user list", "unknown nick");

  ExpectDone(actions.RefreshUserListAndTell(), "user list emptied; asked the hub for it again", "refresh");
  EXPECT_EQ(f.bot->Users().Count(), 0);
  EXPECT_EQ(f.Writes().back(), "$GetNickList|");
  f.fakes.transport.PeerClose();
  ExpectRefused(actions.RefreshUserListAndTell(), "not connected", "refresh offline");
}

}  // namespace
}  // namespace varnek
