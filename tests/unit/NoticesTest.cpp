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
  bool OnNotice(NoticeKind kind, const std::string& title, const std::string& text) override {
    notices.push_back({kind, title, text});
    return shown;
  }
  std::vector<Recorded> notices;
  bool shown = true;  // false: the operator is at the window
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

// A desktop notice replaces the one before it: kicks that come while one is
// shown are named together in the next, a kick after it has gone starts a
// new one, and so does a kick after a notice the operator did not need.
TEST_F(NoticesTest, KicksWhileANoticeIsShownAreNamedTogether) {
  f.control(ctl::kDetectionsCheckBox).SetChecked(true);
  f.control(ctl::kKickProxyCheckBox).SetChecked(true);
  f.control(ctl::kNotifyKickCheckBox).SetChecked(true);
  auto kick = [this](const std::string& nick) {
    f.Receive("$MyINFO $ALL " + nick + " <++ V:1,M:5,H:1/0/0,S:1>$ $DSL\x01$$1$|");
  };
  auto texts = [this] {
    std::vector<std::string> shown;
    for (const Recorded& notice : Notices()) {
      EXPECT_EQ(notice.kind, NoticeKind::Kick);
      EXPECT_EQ(notice.title, "Varnek");
      shown.push_back(notice.text);
    }
    Notices().clear();
    return shown;
  };
  kick("a");
  f.fakes.clock.now += 9000;
  kick("b");
  kick("c");
  kick("b");  // back at once and kicked again: named once
  EXPECT_EQ(texts(), (std::vector<std::string>{"Kicked a", "2 users kicked: a, b", "3 users kicked: a, b, c",
                                               "3 users kicked: a, b, c"}));

  f.fakes.clock.now += 10000;
  kick("d");
  listener.shown = false;
  kick("e");
  listener.shown = true;
  kick("f");
  EXPECT_EQ(texts(), (std::vector<std::string>{"Kicked d", "2 users kicked: d, e", "Kicked f"}));

  for (int i = 0; i < 12; ++i) {
    kick("u" + std::to_string(i));
  }
  EXPECT_EQ(texts().back(), "13 users kicked: f, u0, u1, u2, u3, u4, u5, u6, u7, u8, ...");
}

// A kick the hub did not carry out is news too, with the kicks' switch.
TEST_F(NoticesTest, UsersStillOnTheHubAfterTheirKickAreNoticed) {
  f.control(ctl::kDetectionsCheckBox).SetChecked(true);
  f.control(ctl::kKickProxyCheckBox).SetChecked(true);
  for (const char* nick : {"a", "b"}) {
    f.Receive("$MyINFO $ALL " + std::string(nick) + " <++ V:1,M:5,H:1/0/0,S:1>$ $DSL\x01$$1$|");
  }
  f.fakes.clock.now += 15000;
  f.bot->TimerTick();
  EXPECT_TRUE(Notices().empty());  // switched off

  f.control(ctl::kNotifyKickCheckBox).SetChecked(true);
  for (const char* nick : {"c", "d"}) {
    f.Receive("$MyINFO $ALL " + std::string(nick) + " <++ V:1,M:5,H:1/0/0,S:1>$ $DSL\x01$$1$|");
  }
  f.fakes.clock.now += 5000;
  f.Receive("$MyINFO $ALL e <++ V:1,M:5,H:1/0/0,S:1>$ $DSL\x01$$1$|");
  f.Receive("$Quit d|");  // this kick worked
  Notices().clear();
  f.fakes.clock.now += 10000;
  f.bot->TimerTick();
  f.fakes.clock.now += 5000;
  f.bot->TimerTick();
  EXPECT_EQ(Notices(), (std::vector<Recorded>{
                           {NoticeKind::Kick, "Varnek", "c is still on the hub 15 s after the kick"},
                           {NoticeKind::Kick, "Varnek", "2 users are still on the hub 15 s after their kick: c, e"},
                       }));
}

}  // namespace
}  // namespace varnek
