#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/hub/HubSession.h"
#include "core/model/ControlNames.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

// Logged in as "Guard" at 127.0.0.1:411, pane lines without stamps.
class HubInformationTest : public ::testing::Test {
 protected:
  HubInformationTest() {
    f.LogIn();
    f.PlainLines();
    f.bot->Panes().Clear(PaneId::Debug);
    f.bot->Panes().Clear(PaneId::Chat);
  }
  const std::string& Caption() { return f.control(ctl::kMainForm).Caption(); }
  const std::string& TrayHint() { return f.control(ctl::kClientCoolTrayIcon).Hint(); }
  const std::vector<std::string>& Operators() { return f.bot->Controls().List(ctl::kOpsListBox).Rows(); }
  std::vector<std::string> Nicks() {
    std::vector<std::string> nicks;
    for (int row = 0; row < f.bot->Users().Count(); ++row) {
      nicks.push_back(f.bot->Users().Row(row).Nick());
    }
    return nicks;
  }

  test::BotFixture f;
};

TEST_F(HubInformationTest, FirstHubNameOfAConnectionBecomesTheCaption) {
  f.Receive("$HubName Main - Welcome - all|");
  EXPECT_EQ(Caption(), "Varnek : Main");
  EXPECT_EQ(TrayHint(), "Varnek : Main");
  EXPECT_EQ(f.DebugLines(), std::vector<std::string>{"Receiving hub name: Main - Welcome - all"});

  f.control(ctl::kClientCoolTrayIcon).SetHint("stale");
  f.Receive("$HubName Other|");
  EXPECT_EQ(Caption(), "Varnek : Main");
  EXPECT_EQ(TrayHint(), "Varnek : Main") << "the hint follows the caption on every name";

  f.fakes.transport.PeerClose();
  EXPECT_EQ(Caption(), "Varnek");
  EXPECT_EQ(TrayHint(), "Varnek");
  f.Connect();
  f.Receive("$HubName Other|");
  EXPECT_EQ(Caption(), "Varnek : Other");
}

TEST_F(HubInformationTest, CaptionTakesTheNameBeforeTheFirstDash) {
  const std::pair<std::string, std::string> cases[] = {
      {"Plain Hub", "Varnek : Plain Hub"},
      {"A-B - C", "Varnek : A-B"},
      {"A -B", "Varnek : A -B"},
      {" - only topic", "Varnek : "},
  };
  for (const auto& [name, caption] : cases) {
    f.fakes.transport.PeerClose();
    f.Connect();
    f.Receive("$HubName " + name + "|");
    EXPECT_EQ(Caption(), caption) << name;
  }
}

TEST_F(HubInformationTest, AcceptedRedirectConnectsToTheNewAddress) {
  struct Case {
    std::string address;
    std::string host;
    std::string port;
    std::vector<DialogAnswer> answers;
    std::string field = {};  // the address field afterwards, when not the host
    Encryption encryption = Encryption::None;
  };
  const Case cases[] = {
      {"other.hub:4111", "other.hub", "4111", {DialogAnswer::Yes}},
      {"other.hub", "other.hub", "411", {DialogAnswer::Yes}},
      {"other.hub:", "other.hub", "411", {DialogAnswer::Yes}},
      {"dchub://other.hub:4111", "other.hub", "4111", {DialogAnswer::Yes}},
      {"nmdc://other.hub/", "other.hub", "411", {DialogAnswer::Yes}},
      {"[2001:db8::7]:4111", "2001:db8::7", "4111", {DialogAnswer::Yes}},
      {"nmdcs://other.hub:4111", "other.hub", "4111", {DialogAnswer::Yes}, "nmdcs://other.hub", Encryption::Tls},
      {"nmdcs://[2001:db8::7]", "2001:db8::7", "411", {DialogAnswer::Yes}, "nmdcs://[2001:db8::7]", Encryption::Tls},
  };
  for (const Case& c : cases) {
    f.fakes.transport.PeerClose();
    f.Connect();
    f.fakes.dialogs.messages.clear();
    f.fakes.dialogs.answers.assign(c.answers.begin(), c.answers.end());
    const auto closes = f.fakes.transport.closes;

    f.Receive("$ForceMove " + c.address + "|");

    ASSERT_FALSE(f.fakes.dialogs.messages.empty());
    const auto& question = f.fakes.dialogs.messages[0];
    EXPECT_EQ(question.text, "Redirect to " + c.address + " was received. Would you like to move there?");
    EXPECT_EQ(question.question, Question::Redirect);
    EXPECT_EQ(question.buttons, DialogButtons::YesNo);
    EXPECT_EQ(f.control(ctl::kHubIpEdit).Text(), c.field.empty() ? c.host : c.field) << c.address;
    EXPECT_EQ(f.control(ctl::kHubPortEdit).Text(), c.port) << c.address;
    EXPECT_EQ(f.fakes.transport.encryptions.back(), c.encryption) << c.address;
    EXPECT_EQ(f.fakes.transport.closes, closes + 1) << "the old hub is left";
    ASSERT_FALSE(f.fakes.transport.opens.empty());
    EXPECT_EQ(f.fakes.transport.opens.back(), std::make_pair(c.host, static_cast<std::uint16_t>(std::stoi(c.port))))
        << c.address;
    EXPECT_TRUE(f.fakes.dialogs.answers.empty()) << c.address;
  }
}

TEST_F(HubInformationTest, AcceptedRedirectAfterTheHubClosedConnectsStraightAway) {
  f.fakes.transport.PeerClose();
  const auto closes = f.fakes.transport.closes;
  f.fakes.dialogs.answers = {DialogAnswer::Yes};

  f.bot->Run([this] { f.bot->OnForceMove("other.hub:4111"); });

  EXPECT_EQ(f.fakes.transport.closes, closes);
  EXPECT_EQ(f.fakes.transport.opens.back(), std::make_pair(std::string("other.hub"), std::uint16_t{4111}));
}

TEST_F(HubInformationTest, AcceptedRedirectWithoutHostAsksForAnAddress) {
  f.fakes.dialogs.answers = {DialogAnswer::Yes};
  const auto opens = f.fakes.transport.opens.size();

  f.Receive("$ForceMove |");

  ASSERT_EQ(f.fakes.dialogs.messages.size(), 2u);
  EXPECT_EQ(f.fakes.dialogs.messages[1].text, "You did not enter any IP or DNS address");
  EXPECT_EQ(f.fakes.transport.opens.size(), opens);
  EXPECT_EQ(f.control(ctl::kPageControl).Value(), 2);
}

// An address the bot cannot reach is not offered: the hub is left as on a
// declined redirect, and the status pane says why.
TEST_F(HubInformationTest, UnusableRedirectIsNotOffered) {
  for (const std::string address : {":4111", "other.hub:1:2", "adc://other.hub:411", "nmdcs://[::1%a=b]:4111",
                                    "nmdcs://[::1%a\r\n[Injected\r\nk=v\r\nz]:4111"}) {
    f.fakes.transport.PeerClose();
    f.Connect();
    f.fakes.dialogs.messages.clear();
    const auto opens = f.fakes.transport.opens.size();

    f.Receive("$ForceMove " + address + "|");

    EXPECT_TRUE(f.fakes.dialogs.messages.empty()) << address;
    EXPECT_FALSE(f.bot->Connection().Connected()) << address;
    EXPECT_TRUE(f.bot->Session().reconnectPending) << address;
    EXPECT_EQ(f.fakes.transport.opens.size(), opens) << address;
    EXPECT_EQ(f.control(ctl::kHubIpEdit).Text(), "127.0.0.1") << address;
    ASSERT_FALSE(f.StatusLines().empty());
    EXPECT_TRUE(f.StatusLines().back().starts_with("Redirect to " + address + " not followed: "))
        << f.StatusLines().back();
  }
}

TEST_F(HubInformationTest, DeclinedRedirectLeavesTheHubAndReconnectsLater) {
  f.fakes.dialogs.answers = {DialogAnswer::No};
  const auto opens = f.fakes.transport.opens.size();

  f.Receive("$ForceMove other.hub:4111|");

  EXPECT_FALSE(f.bot->Connection().Connected());
  EXPECT_TRUE(f.bot->Session().reconnectPending);
  EXPECT_EQ(f.control(ctl::kHubIpEdit).Text(), "127.0.0.1");
  EXPECT_EQ(f.control(ctl::kHubPortEdit).Text(), "411");
  EXPECT_EQ(f.fakes.transport.opens.size(), opens);
  EXPECT_EQ(f.DebugLines(), std::vector<std::string>{"Receiving redirect to: other.hub:4111"});
}

TEST_F(HubInformationTest, InformativeCommandsOnlyWriteTheirNiceLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"$HubTopic Be nice|", "Receiving hub topic: Be nice"},
      {"$Search Hub:bob F?T?0?1?movie$2004|", "Search requested by Hub:bob: F?T?0?1?movie 2004"},
      {"$Search 10.0.0.5:412 F?F?0?1?a$$b|", "Search requested by 10.0.0.5:412: F?F?0?1?a  b"},
      {"$ConnectToMe Guard 10.0.0.5:412|", "10.0.0.5:412 is trying to connect to me"},
      {"$Quit ghost|", "User disconnected from hub: ghost"},
  };
  for (const auto& [command, line] : cases) {
    f.bot->Panes().Clear(PaneId::Debug);
    f.Receive(command);
    EXPECT_EQ(f.DebugLines(), std::vector<std::string>{line}) << command;
  }
  EXPECT_TRUE(f.Writes().empty());
  EXPECT_TRUE(f.ChatLines().empty());
}

TEST_F(HubInformationTest, QuitRemovesTheUserAndTheOperator) {
  f.bot->Users().AppendUser("boss");
  f.bot->Users().AppendUser("bob");
  f.Receive("$OpList boss$$chief$$|");

  f.Receive("$Quit boss|");
  EXPECT_EQ(Nicks(), std::vector<std::string>{"bob"});
  EXPECT_EQ(Operators(), std::vector<std::string>{"chief"});

  f.Receive("$Quit Bob|");  // nicks are compared exactly
  EXPECT_EQ(Nicks(), std::vector<std::string>{"bob"});
}

TEST_F(HubInformationTest, OperatorListHoldsEachNickOnce) {
  f.Receive("$OpList alice$$bob$$|$OpList bob$$alice$$carol$$|$OpList carol|$OpList Carol$$|");
  EXPECT_EQ(Operators(), (std::vector<std::string>{"alice", "bob", "carol", "Carol"}));
}

}  // namespace
}  // namespace varnek
