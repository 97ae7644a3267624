// What reaches the program from its event loop (socket events, web replies,
// anything an action throws) ends at the last-resort question, never in the
// loop itself, and leaves the connection able to connect again.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/hub/HubConnection.h"
#include "core/hub/HubSession.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

constexpr std::uint32_t kReconnectWait = 2 * 59940;

class EventLoopBoundaryTest : public ::testing::Test {
 protected:
  // Starts the bot from a settings file that names the hub and the nick, with
  // plain pane lines, the extra settings given and, when one is given, a
  // language file holding that one translation.
  void StartWith(const std::string& extraSettings, const std::string& translation = {}) {
    std::string settings = "[Settings]\r\nDns=127.0.0.1\r\nPort=411\r\nUsername=Guard\r\nStamps=0\r\n" + extraSettings;
    if (!translation.empty()) {
      f.dir.WriteFile("translations/Broken.lang", "[Translations]\r\n" + translation + "\r\n");
      settings += "Language=Broken.lang\r\n";
    }
    f.dir.WriteFile("Varnek.ini", settings);
    f.Start();
  }
  void PressConnect() {
    f.bot->Run([this] { f.bot->Life().ConnectAction(); });
  }
  void TickAt(std::uint32_t ms) {
    f.fakes.clock.now = ms;
    f.bot->TimerTick();
  }
  // The texts of the last-resort questions asked so far.
  std::vector<std::string> Questions() const {
    std::vector<std::string> texts;
    for (const auto& message : f.fakes.dialogs.messages) {
      if (message.question == Question::UnexpectedError) {
        texts.push_back(message.text);
      }
    }
    return texts;
  }
  // The timer tries again two of the program's minutes after the loss.
  void ExpectReconnectAfter(std::uint32_t lostAt) {
    const auto opens = f.fakes.transport.opens.size();
    TickAt(lostAt + kReconnectWait);
    EXPECT_EQ(f.fakes.transport.opens.size(), opens + 1);
  }
  bool Connected() { return f.bot->Connection().Connected(); }

  test::BotFixture f;
};

TEST_F(EventLoopBoundaryTest, DisconnectLineThatCannotBeLoggedAsksAndTheBotReconnects) {
  StartWith("LogChat=1\r\nLines=10\r\n");
  std::filesystem::remove_all(f.dir / "logs");
  PressConnect();
  f.fakes.transport.Connect();
  for (int i = 0; i < 9; ++i) {
    f.Receive("<hub> line " + std::to_string(i) + "|");
  }
  ASSERT_EQ(f.ChatLines().size(), 10u);
  ASSERT_TRUE(Questions().empty());

  f.fakes.clock.now = 5000;
  f.fakes.transport.PeerClose();  // "*** Disconnected" is the eleventh line

  ASSERT_EQ(Questions().size(), 1u);
  EXPECT_NE(Questions()[0].find("chat.txt"), std::string::npos) << Questions()[0];
  EXPECT_FALSE(Connected());
  EXPECT_TRUE(f.bot->Session().reconnectPending);
  EXPECT_EQ(f.ChatLines().back(), "*** Disconnected");  // the pane keeps its lines
  ExpectReconnectAfter(5000);
  f.fakes.transport.Connect();
  EXPECT_TRUE(Connected());
}

TEST_F(EventLoopBoundaryTest, ErrorLineThatCannotBeFormattedAsksAndTheBotReconnects) {
  StartWith("", "LangError=*** Error: %s %s");
  f.fakes.clock.now = 5000;
  PressConnect();

  f.fakes.transport.Fail(SocketErrorKind::Connect, 10061);  // refused

  EXPECT_EQ(Questions().size(), 1u);
  EXPECT_EQ(f.ChatLines().back(), "*** Disconnected");
  EXPECT_EQ(f.fakes.transport.closes, 1);
  EXPECT_FALSE(Connected());
  ExpectReconnectAfter(5000);
}

TEST_F(EventLoopBoundaryTest, ConnectingLineThatCannotBeFormattedLeavesTheAttemptRunning) {
  StartWith("", "LangConnectingTo=*** Connecting to %s %s");
  f.fakes.transport.connectingInOpen = true;

  PressConnect();

  EXPECT_EQ(Questions().size(), 1u);
  ASSERT_TRUE(f.fakes.transport.open);
  f.fakes.transport.CompleteConnect();
  f.Receive("$Lock EXTENDEDPROTOCOLABCABCABCABCABCABC Pk=TestHub|$Hello Guard|");
  EXPECT_TRUE(Connected());
  EXPECT_NE(f.fakes.transport.AllWritten().find("$MyINFO $ALL Guard "), std::string::npos);

  f.fakes.clock.now = 5000;
  f.fakes.transport.PeerClose();
  ExpectReconnectAfter(5000);
  EXPECT_EQ(Questions().size(), 2u);  // the next attempt's line fails alike
  EXPECT_TRUE(f.fakes.transport.open);
}

TEST_F(EventLoopBoundaryTest, TimerLabelThatCannotBeFormattedKeepsTheReconnect) {
  StartWith("", "LangLocalTime=Local time: %s %s");
  PressConnect();
  f.fakes.transport.Connect();
  f.fakes.clock.now = 5000;
  f.fakes.transport.PeerClose();

  ExpectReconnectAfter(5000);
  EXPECT_EQ(Questions().size(), 1u);  // one for the tick's label
}

TEST_F(EventLoopBoundaryTest, ReadEchoThatCannotBeLoggedStillHandlesTheRead) {
  StartWith("LogFull=1\r\nLogLog=1\r\nLines=10\r\n");
  std::filesystem::remove_all(f.dir / "logs");
  PressConnect();
  f.fakes.transport.Connect();
  for (int i = 0; i < 10; ++i) {
    f.Receive("$Quit nobody|");
  }
  ASSERT_EQ(f.DebugLines().size(), 10u);

  f.Receive("<hub> still here|");

  EXPECT_EQ(Questions().size(), 1u);
  EXPECT_EQ(f.ChatLines().back(), "<hub> still here");
  EXPECT_TRUE(Connected());
}

TEST_F(EventLoopBoundaryTest, YesInsideASocketEventEndsTheProgramWithNothingMoreShown) {
  StartWith("", "LangError=*** Error: %s %s");
  PressConnect();
  f.fakes.dialogs.answers.push_back(DialogAnswer::Yes);

  f.fakes.transport.Fail(SocketErrorKind::Connect, 10061);

  EXPECT_TRUE(f.fakes.window.ended);
  EXPECT_TRUE(f.ChatLines().empty()) << f.ChatLines().back();
  EXPECT_FALSE(Connected());
}

TEST_F(EventLoopBoundaryTest, WebReplyThatCannotBeFormattedAsks) {
  StartWith("", "LangUpdateConfirmation=%s %s");
  f.bot->Run([this] { f.bot->Updates().Check(); });
  ASSERT_TRUE(f.fakes.http.pending);

  HttpResult reply;
  reply.body = "9.9.9";
  f.fakes.http.pending(reply);  // as the event loop delivers it

  EXPECT_EQ(Questions().size(), 1u);
}

TEST_F(EventLoopBoundaryTest, ErrorOfAnyTypeReachesTheQuestion) {
  StartWith("");
  f.bot->Run([] { throw 42; });
  ASSERT_EQ(Questions().size(), 1u);
  EXPECT_NE(Questions()[0].find("unknown error"), std::string::npos) << Questions()[0];
}

}  // namespace
}  // namespace varnek
