#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/hub/HubSession.h"
#include "core/model/ControlNames.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

class LifecycleTest : public ::testing::Test {
 protected:
  LifecycleTest() { f.PlainLines(); }

  void Fields(const std::string& ip, const std::string& nick, const std::string& port) {
    f.control(ctl::kHubIpEdit).SetText(ip);
    f.control(ctl::kUsernameEdit).SetText(nick);
    f.control(ctl::kHubPortEdit).SetText(port);
  }
  void PressConnect() {
    f.bot->Run([this] { f.bot->Life().ConnectAction(); });
  }
  std::vector<std::pair<std::string, std::uint16_t>>& Opens() { return f.fakes.transport.opens; }
  std::vector<test::FakeDialogs::Message>& Messages() { return f.fakes.dialogs.messages; }
  HubSession& session() { return f.bot->Session(); }
  bool LogFileExists(const char* name) { return std::filesystem::exists(f.dir / "logs" / name); }
  std::string LogFile(const char* name) { return test::TempDir::ReadFile(f.dir / "logs" / name); }

  test::BotFixture f;
};

// --- the Connect action ------------------------------------------------------

TEST_F(LifecycleTest, ConnectStopsAtTheFirstMissingField) {
  struct Case {
    std::string ip, nick, port;
    std::string warning;
    int page;
    std::string focus;
  };
  const Case cases[] = {
      {"", "Guard", "411", "You did not enter any IP or DNS address", 2, ctl::kHubIpEdit},
      {"", "", "", "You did not enter any IP or DNS address", 2, ctl::kHubIpEdit},
      {"hub.example", "", "", "You did not enter any username", 0, ctl::kUsernameEdit},
  };
  for (const Case& c : cases) {
    Fields(c.ip, c.nick, c.port);
    f.control(ctl::kPageControl).SetValue(5);
    Messages().clear();
    f.fakes.window.focused.clear();

    PressConnect();

    ASSERT_EQ(Messages().size(), 1u) << c.warning;
    EXPECT_EQ(Messages()[0].text, c.warning);
    EXPECT_EQ(Messages()[0].kind, DialogKind::Warning);
    EXPECT_EQ(Messages()[0].buttons, DialogButtons::Ok);
    EXPECT_EQ(f.control(ctl::kPageControl).Value(), c.page) << c.warning;
    EXPECT_EQ(f.fakes.window.focused, std::vector<std::string>{c.focus}) << c.warning;
    EXPECT_TRUE(Opens().empty());
  }
}

// A port that is no number from 1 to 65535 (a hand-edited settings file) is
// asked about as a missing one.
TEST_F(LifecycleTest, MissingOrUnusablePortOffersTheStandardPort) {
  for (const std::string port : {"", "0", "65536", "abc", "-1", "4x"}) {
    Fields("hub.example", "Guard", port);
    Opens().clear();
    Messages().clear();

    f.fakes.dialogs.answers = {DialogAnswer::No};
    f.control(ctl::kPageControl).SetValue(5);
    PressConnect();
    ASSERT_EQ(Messages().size(), 1u) << port;
    EXPECT_EQ(Messages()[0].text, "You did not enter any port number. Would you like to use standard port 411?");
    EXPECT_EQ(Messages()[0].question, Question::UseStandardPort);
    EXPECT_EQ(f.control(ctl::kPageControl).Value(), 2);
    EXPECT_EQ(f.control(ctl::kHubPortEdit).Text(), port);
    EXPECT_TRUE(Opens().empty()) << port;

    f.fakes.dialogs.answers = {DialogAnswer::Yes};
    PressConnect();
    EXPECT_EQ(f.control(ctl::kHubPortEdit).Text(), "411") << port;
    EXPECT_EQ(Opens(), (std::vector<std::pair<std::string, std::uint16_t>>{{"hub.example", 411}})) << port;
    f.fakes.transport.PeerClose();
  }
}

TEST_F(LifecycleTest, ValidPortConnectsWithoutQuestion) {
  for (const std::string port : {"1", "4111", "65535"}) {
    f.fakes.transport.PeerClose();
    Fields("hub.example", "Guard", port);
    Opens().clear();
    PressConnect();
    EXPECT_EQ(Opens(), (std::vector<std::pair<std::string, std::uint16_t>>{
                           {"hub.example", static_cast<std::uint16_t>(std::stoi(port))}}));
  }
  EXPECT_TRUE(Messages().empty());
}

// The address field takes a scheme, a port and IPv6 in brackets; a port
// there wins over the port field, and the connecting line names the hub as
// connected to.
TEST_F(LifecycleTest, TheAddressFieldNamesHostAndPort) {
  struct Case {
    std::string dns, port;
    std::string host;
    std::uint16_t connectsTo;
  };
  const Case cases[] = {
      {"dchub://hub.example:4111", "411", "hub.example", 4111},
      {"nmdc://hub.example", "412", "hub.example", 412},
      {"hub.example:4111", "", "hub.example", 4111},
      {"[::1]:4111", "411", "::1", 4111},
  };
  for (const Case& c : cases) {
    f.fakes.transport.PeerClose();
    Fields(c.dns, "Guard", c.port);
    Opens().clear();
    const auto chatLines = f.ChatLines().size();

    PressConnect();
    f.fakes.transport.Connect();

    EXPECT_EQ(Opens(), (std::vector<std::pair<std::string, std::uint16_t>>{{c.host, c.connectsTo}})) << c.dns;
    EXPECT_TRUE(Messages().empty()) << c.dns;
    ASSERT_GT(f.ChatLines().size(), chatLines);
    const std::string shown = c.host.find(':') == std::string::npos ? c.host : "[" + c.host + "]";
    EXPECT_EQ(f.ChatLines()[chatLines], "*** Connecting to " + shown + ":" + std::to_string(c.connectsTo));
  }
}

TEST_F(LifecycleTest, AnUnusableAddressIsRefusedWithTheReason) {
  for (const std::string dns : {"adcs://hub.example:411", "hub.example:99999"}) {
    Fields(dns, "Guard", "411");
    Messages().clear();
    f.control(ctl::kPageControl).SetValue(5);

    PressConnect();

    ASSERT_EQ(Messages().size(), 1u) << dns;
    EXPECT_EQ(Messages()[0].kind, DialogKind::Warning);
    EXPECT_TRUE(Messages()[0].text.starts_with("The hub address \"" + dns + "\" cannot be used: "))
        << Messages()[0].text;
    EXPECT_EQ(f.control(ctl::kPageControl).Value(), 2);
    EXPECT_TRUE(Opens().empty()) << dns;
  }
}

// The chat pane keeps its code; the status pane says what happened, with
// which hub, in the system's words.
TEST_F(LifecycleTest, SocketErrorsWriteTheReasonToTheStatusPane) {
  Fields("hub.example", "Guard", "4111");
  PressConnect();
  f.fakes.transport.Fail(SocketErrorKind::Connect, 10061, "Connection refused");
  EXPECT_EQ(f.ChatLines().back(), "*** Disconnected");
  EXPECT_EQ(f.ChatLines()[f.ChatLines().size() - 2], "*** Error: 10061");
  EXPECT_EQ(f.StatusLines().back(), "Connection to hub.example:4111 failed: Connection refused (error 10061)");

  PressConnect();
  const auto chatLines = f.ChatLines().size();
  f.fakes.transport.Fail(SocketErrorKind::Lookup, 11001, "Host not found");
  EXPECT_EQ(f.ChatLines().size(), chatLines + 1) << "a failed lookup writes only the disconnect";
  EXPECT_EQ(f.StatusLines().back(), "Connection to hub.example:4111 failed: Host not found (error 11001)");

  PressConnect();
  f.fakes.transport.Connect();
  f.fakes.transport.Fail(SocketErrorKind::Receive, 10054, "Connection reset by peer");
  EXPECT_EQ(f.StatusLines().back(), "Connection to hub.example:4111 lost: Connection reset by peer (error 10054)");
}

TEST_F(LifecycleTest, ConnectedAndDisconnectedLooks) {
  f.control(ctl::kPageControl).SetValue(7);
  f.Connect();

  EXPECT_EQ(f.ChatLines(), std::vector<std::string>{"*** Connecting to 127.0.0.1:411"});
  EXPECT_EQ(f.control(ctl::kConnectButton).Caption(), "Dis&connect");
  EXPECT_EQ(f.control(ctl::kConnectTrayPopup).Caption(), "Dis&connect");
  for (const char* name :
       {ctl::kReconnectButton, ctl::kResendMyInfoButton, ctl::kSendButton, ctl::kSendMemo, ctl::kRefreshUserPopup}) {
    EXPECT_TRUE(f.control(name).Enabled()) << name;
  }
  for (const char* name : {ctl::kHubIpEdit, ctl::kHubPortEdit, ctl::kUsernameEdit}) {
    EXPECT_FALSE(f.control(name).Enabled()) << name;
  }
  EXPECT_EQ(f.fakes.window.icons.back(), IconKind::Connected);
  EXPECT_EQ(f.fakes.window.focused.back(), ctl::kSendMemo);

  f.control(ctl::kSendMemo).SetText("half typed");
  f.fakes.transport.PeerClose();

  EXPECT_EQ(f.ChatLines().back(), "*** Disconnected");
  EXPECT_EQ(f.control(ctl::kConnectButton).Caption(), "&Connect");
  EXPECT_EQ(f.control(ctl::kConnectTrayPopup).Caption(), "&Connect");
  for (const char* name :
       {ctl::kReconnectButton, ctl::kResendMyInfoButton, ctl::kSendButton, ctl::kSendMemo, ctl::kRefreshUserPopup}) {
    EXPECT_FALSE(f.control(name).Enabled()) << name;
  }
  for (const char* name : {ctl::kHubIpEdit, ctl::kHubPortEdit, ctl::kUsernameEdit}) {
    EXPECT_TRUE(f.control(name).Enabled()) << name;
  }
  EXPECT_EQ(f.control(ctl::kSendMemo).Text(), "");
  EXPECT_EQ(f.fakes.window.icons.back(), IconKind::Disconnected);
  EXPECT_EQ(f.control(ctl::kMainForm).Caption(), "Varnek");
  EXPECT_EQ(f.control(ctl::kClientCoolTrayIcon).Hint(), "Varnek");
}

TEST_F(LifecycleTest, ConnectWhileConnectedDisconnectsForGood) {
  f.LogIn();
  PressConnect();

  EXPECT_FALSE(f.bot->Connection().Connected());
  EXPECT_FALSE(session().reconnectPending);
  EXPECT_EQ(f.ChatLines().back(), "*** Disconnected");
  EXPECT_EQ(Opens().size(), 1u);
}

TEST_F(LifecycleTest, LostConnectionEmptiesTheListsAndAwaitsReconnect) {
  for (const bool byError : {false, true}) {
    f.LogIn();
    f.Receive("$OpList boss$$|$Supports NoHello|$HubName Hub|");
    f.bot->Users().AppendUser("alice");

    if (byError) {
      f.fakes.transport.Fail(SocketErrorKind::Receive, 10054);
    } else {
      f.fakes.transport.PeerClose();
    }

    EXPECT_EQ(f.bot->Users().Count(), 0) << byError;
    EXPECT_TRUE(f.bot->Controls().List(ctl::kOpsListBox).Rows().empty()) << byError;
    EXPECT_TRUE(session().reconnectPending) << byError;
    EXPECT_EQ(session().hubSupports, "") << byError;
    EXPECT_FALSE(session().hubNameShown) << byError;
  }
}

// --- start ----------------------------------------------------------------------

TEST_F(LifecycleTest, AutoConnectNeedsAddressAndPort) {
  struct Case {
    std::string dns, port;
    bool connects;
  };
  const Case cases[] = {
      {"hub.example", "4111", true},
      {"hub.example", "", false},
      {"", "4111", false},
      {"dchub://hub.example:4111", "", true},
  };
  for (const Case& c : cases) {
    test::BotFixture fresh;
    fresh.dir.WriteFile("Varnek.ini",
                        "[Settings]\r\nConnect=1\r\nUsername=Guard\r\nDns=" + c.dns + "\r\nPort=" + c.port + "\r\n");

    fresh.Start();

    EXPECT_EQ(fresh.fakes.transport.opens.size(), c.connects ? 1u : 0u) << c.dns << ":" << c.port;
    EXPECT_TRUE(fresh.fakes.dialogs.messages.empty()) << c.dns << ":" << c.port;
  }
}

// --- close ----------------------------------------------------------------------

TEST_F(LifecycleTest, DecliningTheExitChangesNothing) {
  f.LogIn();
  const auto chat = f.ChatLines();
  f.fakes.dialogs.answers = {DialogAnswer::No};

  EXPECT_FALSE(f.bot->Life().RequestClose());

  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, "Really exit and close all existing connections?");
  EXPECT_EQ(Messages()[0].question, Question::Exit);
  EXPECT_TRUE(f.bot->Connection().Connected());
  EXPECT_EQ(f.ChatLines(), chat);
  EXPECT_FALSE(f.fakes.window.ended);
  EXPECT_FALSE(std::filesystem::exists(f.dir / "Varnek.ini"));
}

TEST_F(LifecycleTest, ExitDisconnectsThenSavesThenWritesTheLogs) {
  f.Start();
  f.PlainLines();
  for (const char* name : {ctl::kLogStatusCheckBox, ctl::kLogChatCheckBox, ctl::kLogDebugCheckBox}) {
    f.control(name).SetChecked(true);
  }
  f.LogIn();
  f.Receive("<hub> bye|");
  f.fakes.dialogs.answers = {DialogAnswer::Yes};

  EXPECT_TRUE(f.bot->Life().RequestClose());

  EXPECT_FALSE(f.bot->Connection().Connected());
  EXPECT_EQ(f.fakes.transport.closes, 1);
  EXPECT_TRUE(std::filesystem::exists(f.dir / "Varnek.ini"));
  EXPECT_TRUE(LogFile("chat.txt").ends_with("<hub> bye\r\n*** Disconnected\r\n\r\n"));
  EXPECT_TRUE(LogFile("status.txt").ends_with("Settings was succesfully saved\r\n\r\n"));
  EXPECT_TRUE(LogFile("log.txt").find("Receiving $Lock") != std::string::npos);
  for (PaneId pane : {PaneId::Chat, PaneId::Status, PaneId::Debug}) {
    EXPECT_TRUE(f.Lines(pane).empty());
  }
  EXPECT_TRUE(f.fakes.window.ended);
}

TEST_F(LifecycleTest, ExitBeforeACompleteLoadSavesNothing) {
  f.control(ctl::kLogChatCheckBox).SetChecked(true);
  f.LogIn();
  f.fakes.dialogs.answers = {DialogAnswer::Yes};

  EXPECT_TRUE(f.bot->Life().RequestClose());

  EXPECT_FALSE(std::filesystem::exists(f.dir / "Varnek.ini"));
  EXPECT_TRUE(LogFileExists("chat.txt")) << "the logs are written all the same";
  EXPECT_TRUE(f.fakes.window.ended);
}

// --- the last-resort question -------------------------------------------------------

TEST_F(LifecycleTest, UnexpectedErrorQuestionFramesTheMessage) {
  f.bot->Run([] { throw std::runtime_error("List index out of bounds (3)"); });

  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].kind, DialogKind::Error);
  EXPECT_EQ(Messages()[0].buttons, DialogButtons::YesNo);
  EXPECT_EQ(Messages()[0].question, Question::UnexpectedError);
  EXPECT_EQ(Messages()[0].text,
            "An exception has occured:\r\n\r\nList index out of bounds (3)\r\n\r\n"
            "This means that application might get unstable. Would you like to exit?");
}

TEST_F(LifecycleTest, UnexpectedErrorYesSavesAndEndsAtOnce) {
  f.Start();
  f.PlainLines();
  f.control(ctl::kLogChatCheckBox).SetChecked(true);
  f.LogIn();
  const auto chat = f.ChatLines();
  f.fakes.dialogs.answers = {DialogAnswer::Yes};

  f.bot->Run([] { throw std::runtime_error("boom"); });

  EXPECT_TRUE(std::filesystem::exists(f.dir / "Varnek.ini"));
  EXPECT_TRUE(f.fakes.window.ended);
  EXPECT_EQ(Messages().size(), 1u) << "no exit confirmation";
  EXPECT_EQ(f.ChatLines(), chat) << "no disconnect line";
  EXPECT_FALSE(LogFileExists("chat.txt"));
}

TEST_F(LifecycleTest, UnexpectedErrorNoReloadsTheSettingsFile) {
  f.dir.WriteFile("Varnek.ini", "[Settings]\r\nDescription=from the file\r\n");
  f.Start();
  f.control(ctl::kDescriptionEdit).SetText("typed, not saved");
  f.fakes.dialogs.answers = {DialogAnswer::No};

  f.bot->Run([] { throw std::runtime_error("boom"); });

  EXPECT_EQ(f.control(ctl::kDescriptionEdit).Text(), "from the file");
  EXPECT_FALSE(f.fakes.window.ended);
  EXPECT_EQ(test::TempDir::ReadFile(f.dir / "Varnek.ini"), "[Settings]\r\nDescription=from the file\r\n");
}

}  // namespace
}  // namespace varnek
