#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Bot.h"
#include "core/model/ControlNames.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

struct Recorded {
  NoticeKind kind;
  std::string title;
  std::string text;
  bool operator==(const Recorded&) const = default;
};

class RecordingListener : public NoticeListener {
 public:
  void OnNotice(NoticeKind kind, const std::string& title, const std::string& text) override {
    notices.push_back({kind, title, text});
  }
  std::vector<Recorded> notices;
};

class NoticesTest : public ::testing::Test {
 protected:
  NoticesTest() {
    f.bot->SetNoticeListener(&listener);
    f.LogIn("Guard");
  }

  std::vector<Recorded>& Notices() { return listener.notices; }

  test::BotFixture f;
  RecordingListener listener;
};

const Recorded kLost{NoticeKind::ConnectionLost, "Varnek", "Connection to 127.0.0.1:411 lost"};

// Only an end that the operator did not ask for is news to him.
TEST_F(NoticesTest, ALostConnectionIsNoticedOnceAndTheOperatorsOwnEndsAreNot) {
  struct Case {
    const char* what;
    void (*end)(test::BotFixture&);
    bool lost;
  };
  const Case cases[] = {
      {"hub closes", [](test::BotFixture& b) { b.fakes.transport.PeerClose(); }, true},
      // An error is followed by the disconnect of the same socket.
      {"reset", [](test::BotFixture& b) { b.fakes.transport.Fail(SocketErrorKind::Receive, 10054); }, true},
      {"Connect button", [](test::BotFixture& b) { b.bot->Run([&b] { b.bot->Life().ConnectAction(); }); }, false},
      {"Reconnect button", [](test::BotFixture& b) { b.bot->Run([&b] { b.bot->Life().ReconnectAction(); }); }, false},
      {"close sequence", [](test::BotFixture& b) { b.bot->Run([&b] { b.bot->Life().CloseNow(); }); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::BotFixture fresh;
    RecordingListener heard;
    fresh.bot->SetNoticeListener(&heard);
    fresh.LogIn("Guard");
    c.end(fresh);
    EXPECT_EQ(heard.notices, c.lost ? std::vector<Recorded>{kLost} : std::vector<Recorded>{});
  }
}

TEST_F(NoticesTest, AFailedAttemptIsNoLostConnection) {
  f.fakes.transport.PeerClose();
  Notices().clear();
  // The next attempt fails before it ever connected.
  f.bot->Run([this] { f.bot->Life().ConnectAction(); });
  f.fakes.transport.Fail(SocketErrorKind::Connect, 10061);
  EXPECT_TRUE(Notices().empty());
}

TEST_F(NoticesTest, EachKindFollowsItsSwitch) {
  f.control(ctl::kDetectionsCheckBox).SetChecked(true);
  f.control(ctl::kKickNickCheckBox).SetChecked(true);
  f.controls().List(ctl::kKickNickListView).Append("*bad*");
  auto provoke = [this] {
    f.Receive("$To: Guard From: alice $<alice> are you there?|");
    f.Receive("$MyINFO $ALL badboy x<++ V:1,M:A,H:1/0/0,S:3>$ $DSL\x01$$1$|");
  };
  // Kicks start switched off: they can come by the hundred.
  provoke();
  EXPECT_EQ(Notices(),
            (std::vector<Recorded>{{NoticeKind::PrivateMessage, "Private message from alice", "are you there?"}}));

  Notices().clear();
  f.control(ctl::kNotifyKickCheckBox).SetChecked(true);
  f.control(ctl::kNotifyPrivateCheckBox).SetChecked(false);
  provoke();
  EXPECT_EQ(Notices(), (std::vector<Recorded>{{NoticeKind::Kick, "Varnek", "Kicked badboy"}}));

  Notices().clear();
  f.control(ctl::kNotifyDisconnectCheckBox).SetChecked(false);
  f.fakes.transport.PeerClose();
  EXPECT_TRUE(Notices().empty());
}

}  // namespace
}  // namespace varnek
