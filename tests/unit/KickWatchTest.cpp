#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/model/ControlNames.h"
#include "core/store/OutputPanes.h"
#include "core/users/KickWatch.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

using Lines = std::vector<std::string>;

std::string Overdue(const std::string& nick) {
  return "*** " + nick + " is still on the hub 15 s after the kick";
}

// The bot "Guard" logged in with detections on and the proxy kick switched
// on (default plain template); bob is in the user list and no detection
// objects to him. Pane lines carry no time stamps and the chat pane starts
// empty.
struct World {
  World() {
    f.LogIn("Guard");
    f.PlainLines();
    f.control(ctl::kDetectionsCheckBox).SetChecked(true);
    f.control(ctl::kKickProxyCheckBox).SetChecked(true);
    f.Receive(MyInfo("bob", "A"));
    f.bot->Panes().Clear(PaneId::Chat);
  }

  // An active user, or one in proxy mode (5) whom the proxy detection kicks.
  static std::string MyInfo(const std::string& nick, const std::string& mode) {
    return "$MyINFO $ALL " + nick + " <++ V:1,M:" + mode + ",H:1/0/0,S:1>$ $DSL\x01$$1234567890$|";
  }
  void DetectionKick(const std::string& nick) { f.Receive(MyInfo(nick, "5")); }
  void MenuKick(const std::string& nick, const std::string& reason) {
    f.bot->Run([&] { f.bot->Actions().KickWithReason(nick, reason); });
  }
  // Moves the clock on and lets the once-a-second timer tick.
  void After(std::uint32_t ms) {
    f.fakes.clock.now += ms;
    f.bot->TimerTick();
  }
  Lines Reported() {
    Lines found;
    for (const std::string& line : f.ChatLines()) {
      if (line.find("still on the hub") != std::string::npos) {
        found.push_back(line);
      }
    }
    return found;
  }
  std::uint32_t NotCarriedOut() { return f.bot->Counters().KicksNotCarriedOut(); }

  test::BotFixture f;
};

TEST(KickWatchTest, EveryKickThatStaysUnansweredFor15SecondsIsReportedOnceAndCounted) {
  struct Case {
    const char* name;
    std::string nick;
    std::function<void(World&)> kick;
  };
  const Case cases[] = {
      // Kicked on arrival, so never in the user list: still on the hub.
      {"detection", "carol", [](World& w) { w.DetectionKick("carol"); }},
      {"menu or console, no reason", "bob", [](World& w) { w.MenuKick("bob", ""); }},
      {"menu or console, with reason", "bob", [](World& w) { w.MenuKick("bob", "flood"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    World w;
    c.kick(w);
    ASSERT_FALSE(w.f.Writes().empty()) << "the kick went out";

    w.After(KickWatch::kTimeLimitMs - 1);
    EXPECT_EQ(w.Reported(), Lines{});
    EXPECT_EQ(w.NotCarriedOut(), 0u);

    w.After(1);
    EXPECT_EQ(w.Reported(), Lines{Overdue(c.nick)});
    EXPECT_EQ(w.NotCarriedOut(), 1u);
    EXPECT_EQ(w.f.control(ctl::kKicksNotCarriedOutLabel).Caption(), "Kicks not carried out: 1");

    w.After(60000);
    EXPECT_EQ(w.Reported(), Lines{Overdue(c.nick)}) << "one report per watch";
  }
}

TEST(KickWatchTest, QuitEndsTheWatchAndAKickAfterTheReturnIsTimedFromItself) {
  World w;
  w.MenuKick("bob", "");
  w.After(5000);
  w.f.Receive("$Quit bob|");
  w.After(5000);
  // bob is back at 10 s and kicked again; the first kick's 15 s are not his.
  w.f.Receive(World::MyInfo("bob", "A"));
  w.MenuKick("bob", "");
  w.After(5000);
  EXPECT_EQ(w.Reported(), Lines{});

  w.After(KickWatch::kTimeLimitMs - 5000);
  EXPECT_EQ(w.Reported(), Lines{Overdue("bob")});
  EXPECT_EQ(w.NotCarriedOut(), 1u);
}

TEST(KickWatchTest, KicksOfOneNickWithinTheTimeAreOneWatchFromTheFirstKick) {
  World w;
  w.MenuKick("bob", "");
  w.After(5000);
  w.MenuKick("bob", "flood");
  w.DetectionKick("carol");
  w.DetectionKick("carol");
  w.After(KickWatch::kTimeLimitMs - 5000);
  EXPECT_EQ(w.Reported(), Lines{Overdue("bob")});

  w.After(5000);
  EXPECT_EQ(w.Reported(), (Lines{Overdue("bob"), Overdue("carol")}));
  EXPECT_EQ(w.NotCarriedOut(), 2u);

  // A kick after the report starts a new watch.
  w.MenuKick("bob", "");
  w.After(KickWatch::kTimeLimitMs);
  EXPECT_EQ(w.Reported(), (Lines{Overdue("bob"), Overdue("carol"), Overdue("bob")}));
  EXPECT_EQ(w.NotCarriedOut(), 3u);
}

TEST(KickWatchTest, ADisconnectEndsEveryWatch) {
  World w;
  w.MenuKick("bob", "");
  w.DetectionKick("carol");
  w.f.fakes.transport.PeerClose();
  w.f.LogIn("Guard");
  w.f.Receive(World::MyInfo("bob", "A"));
  w.f.Receive(World::MyInfo("carol", "A"));
  w.After(2 * KickWatch::kTimeLimitMs);

  EXPECT_EQ(w.Reported(), Lines{});
  EXPECT_EQ(w.NotCarriedOut(), 0u);
}

// A raw template that the send path refuses opens a warning; the window's
// modal loop runs socket events meanwhile, and the hub may close the
// connection then. That kick must not be reported on the next connection.
TEST(KickWatchTest, AKickWhoseSendOutlivesTheConnectionIsNotReportedAfterTheReconnect) {
  World w;
  w.f.control(ctl::kRawProxyCheckBox).SetChecked(true);
  w.f.control(ctl::kKickProxyCommandEdit).SetText("!kick <nick>");
  w.f.fakes.dialogs.duringMessage = [&w] {
    w.f.fakes.dialogs.duringMessage = nullptr;
    w.f.fakes.transport.PeerClose();
  };
  w.DetectionKick("carol");
  ASSERT_EQ(w.f.fakes.dialogs.messages.size(), 1u) << "the send path refused the template";
  w.f.LogIn("Guard");
  w.After(2 * KickWatch::kTimeLimitMs);

  EXPECT_EQ(w.Reported(), Lines{});
}

TEST(KickWatchTest, NothingIsWatchedWhenNoKickGoesOut) {
  struct Case {
    const char* name;
    std::function<void(World&)> act;
  };
  const Case cases[] = {
      {"menu kick of a user who left", [](World& w) { w.MenuKick("zed", ""); }},
      {"menu kick with a refused reason", [](World& w) { w.MenuKick("bob", "a|b"); }},
      {"detection without its kick switch",
       [](World& w) {
         w.f.control(ctl::kKickProxyCheckBox).SetChecked(false);
         w.DetectionKick("carol");
       }},
      {"detection with an empty template",
       [](World& w) {
         w.f.control(ctl::kKickProxyCommandEdit).SetText("");
         w.DetectionKick("carol");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    World w;
    c.act(w);
    w.After(2 * KickWatch::kTimeLimitMs);
    EXPECT_EQ(w.Reported(), Lines{});
    EXPECT_EQ(w.NotCarriedOut(), 0u);
  }
}

}  // namespace
}  // namespace varnek
