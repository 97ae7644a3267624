// The connection's one-line summary that a service manager shows.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/BotActions.h"
#include "core/hub/Uptime.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

class ConnectionStatusTest : public ::testing::Test {
 protected:
  test::BotFixture f;
  BotActions actions{*f.bot};
};

TEST_F(ConnectionStatusTest, FollowsTheConnectionThroughItsStates) {
  EXPECT_EQ(actions.ConnectionStatus(), "Not connected");

  f.control(ctl::kUsernameEdit).SetText("Guard");
  f.control(ctl::kHubIpEdit).SetText("127.0.0.1:4111");
  ASSERT_TRUE(actions.ConnectToHub().done);
  EXPECT_EQ(actions.ConnectionStatus(), "Connecting to 127.0.0.1:4111");

  f.fakes.transport.Connect();
  EXPECT_EQ(actions.ConnectionStatus(), "Logging in to 127.0.0.1:4111 as Guard");

  f.Receive("$Lock EXTENDEDPROTOCOLABCABCABCABCABCABC Pk=TestHub|$Hello Guard|");
  EXPECT_EQ(actions.ConnectionStatus(), "Connected to 127.0.0.1:4111 as Guard, 0 users");
  f.Receive("$MyINFO $ALL alice <++ V:1,M:A,H:1/0/0,S:2>$ $DSL\x01$$1073741824$|");
  EXPECT_EQ(actions.ConnectionStatus(), "Connected to 127.0.0.1:4111 as Guard, 1 user");
  f.Receive("$MyINFO $ALL bob <++ V:1,M:A,H:1/0/0,S:2>$ $DSL\x01$$1073741824$|");
  EXPECT_EQ(actions.ConnectionStatus(), "Connected to 127.0.0.1:4111 as Guard, 2 users");

  f.fakes.transport.PeerClose();
  EXPECT_EQ(actions.ConnectionStatus(), "Reconnecting to 127.0.0.1:4111 in 120 s");
  ASSERT_TRUE(actions.DisconnectFromHub().done);  // the operator cancels the reconnect
  EXPECT_EQ(actions.ConnectionStatus(), "Not connected");
}

// The countdown ends where the main timer's reconnect comes: in the minute
// after two of the program's 59,940 ms minutes, or a cycle later when a tick
// missed that minute.
TEST_F(ConnectionStatusTest, CountsDownToTheMainTimersReconnect) {
  f.LogIn();
  f.fakes.transport.PeerClose();
  const std::uint32_t lost = f.fakes.clock.now;
  struct Case {
    std::uint32_t elapsed;
    const char* status;
  };
  const Case cases[] = {
      {0, "Reconnecting to 127.0.0.1:411 in 120 s"},
      {1, "Reconnecting to 127.0.0.1:411 in 120 s"},
      {118880, "Reconnecting to 127.0.0.1:411 in 1 s"},
      {119879, "Reconnecting to 127.0.0.1:411 in 1 s"},
      {119880, "Reconnecting to 127.0.0.1:411"},
      {3 * kMinuteMs - 1, "Reconnecting to 127.0.0.1:411"},
      {3 * kMinuteMs, "Reconnecting to 127.0.0.1:411 in 3537 s"},
  };
  for (const Case& c : cases) {
    f.fakes.clock.now = lost + c.elapsed;
    EXPECT_EQ(actions.ConnectionStatus(), c.status) << c.elapsed;
  }
}

}  // namespace
}  // namespace varnek
