#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/hub/HubSession.h"
#include "core/hub/Uptime.h"
#include "core/model/ControlNames.h"
#include "core/model/ProtocolCounters.h"
#include "core/model/TickStamps.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

constexpr std::uint32_t kMinute = 59940;
constexpr std::uint32_t kReconnectWait = 2 * kMinute;     // 119,880 ms
constexpr std::uint32_t kRequestInterval = 30 * kMinute;  // 1,798,200 ms

TEST(UptimeTest, UnitsAreTheProgramsOwn) {
  const std::pair<std::uint32_t, std::string> cases[] = {
      {0, "0:0:0:0"},       {998, "0:0:0:0"},      {999, "0:0:0:1"},
      {59939, "0:0:0:59"},  {59940, "0:0:1:0"},    {3596399, "0:0:59:59"},
      {3596400, "0:1:0:0"}, {86313600, "1:0:0:0"}, {0xFFFFFFFFu, "49:18:14:26"},
  };
  for (const auto& [ms, text] : cases) {
    EXPECT_EQ(UptimeText(ms), text) << ms;
  }
}

// --- labels --------------------------------------------------------------------

class TimerLabelsTest : public ::testing::Test {
 protected:
  const std::string& Caption(const char* name) { return f.control(name).Caption(); }
  test::BotFixture f;
};

TEST_F(TimerLabelsTest, StatusBarShowsUsersOnlyWhileConnected) {
  f.bot->TimerTick();
  EXPECT_EQ(Caption(ctl::kStatusBar), "Not connected");
  EXPECT_EQ(Caption(ctl::kLocalTimeLabel), "Local time: 14:05:09");

  f.LogIn();
  f.bot->Users().AppendUser("alice");
  f.bot->Users().AppendUser("bob");
  f.bot->TimerTick();
  EXPECT_EQ(Caption(ctl::kStatusBar), "Users: 2");

  f.fakes.transport.PeerClose();
  f.bot->TimerTick();
  EXPECT_EQ(Caption(ctl::kStatusBar), "Not connected");
}

TEST_F(TimerLabelsTest, StatisticsShowTheCountsAndClearToZero) {
  f.LogIn();
  f.Receive("<hub> one|<hub> two|$Supports NoHello|");
  f.bot->Connection().SendCommand("<Guard> hi");
  f.bot->Counters().CountDetection();
  f.bot->Counters().CountKickNotCarriedOut();
  f.bot->TimerTick();

  const std::pair<const char*, std::string> shown[] = {
      {ctl::kKeyLabel, "Key: 1"},
      {ctl::kOutSupportsLabel, "Supports: 1"},
      {ctl::kInSupportsLabel, "Supports: 1"},
      {ctl::kInLockLabel, "Lock: 1"},
      {ctl::kHelloLabel, "Hello: 1"},
      {ctl::kGetNickListLabel, "GetNickList: 1"},
      {ctl::kKickLabel, "Kick: 0"},
      {ctl::kInMcTextLabel, "Main chat messages: 2"},
      {ctl::kOutMcTextLabel, "Main chat messages: 1"},
      {ctl::kDetectionsLabel, "Detections: 1"},
      {ctl::kKicksNotCarriedOutLabel, "Kicks not carried out: 1"},
  };
  for (const auto& [label, text] : shown) {
    EXPECT_EQ(Caption(label), text) << label;
  }

  f.bot->Timer().ClearStatistics();
  EXPECT_EQ(Caption(ctl::kDetectionsLabel), "Detections: 1") << "labels change at the next tick";
  f.bot->TimerTick();
  for (const auto& [label, text] : shown) {
    EXPECT_EQ(Caption(label), text.substr(0, text.rfind(' ') + 1) + "0") << label;
  }
}

// --- schedules -------------------------------------------------------------------

// Every schedule runs twice: from an ordinary tick count, and from one 30 s
// before the 32-bit tick count wraps, so that the stamps taken in the first
// seconds lie before the wrap and the due times beyond it.
class MainTimerTest : public ::testing::TestWithParam<std::uint32_t> {
 protected:
  MainTimerTest() { f.fakes.clock.now = Base(); }

  std::uint32_t Base() const { return GetParam(); }
  // Sets the clock to `ms` after the base (wrapping as the real count does).
  void At(std::uint32_t ms) { f.fakes.clock.now = Base() + ms; }
  void TickAt(std::uint32_t ms) {
    At(ms);
    f.bot->TimerTick();
  }
  std::size_t Opens() const { return f.fakes.transport.opens.size(); }
  int Saves() {
    return static_cast<int>(
        std::count(f.StatusLines().begin(), f.StatusLines().end(), std::string("Settings was succesfully saved")));
  }
  // Started, then logged in as "Guard" with the given lock and features.
  void LogInTo(const std::string& lock, const std::string& supports) {
    f.Start();
    f.PlainLines();
    f.Connect();
    f.Receive("$Lock " + lock + "|$Hello Guard|");
    if (!supports.empty()) {
      f.Receive("$Supports " + supports + "|");
    }
    f.bot->Users().AppendUser("alice");
    f.bot->Users().AppendUser("bob");
    f.Writes().clear();
  }

  test::BotFixture f;
};

INSTANTIATE_TEST_SUITE_P(Ticks, MainTimerTest, ::testing::Values(1000u, 0xFFFFFFFFu - 30000u),
                         [](const auto& param) { return param.param == 1000u ? "Plain" : "AcrossWrap"; });

TEST_P(MainTimerTest, BotUptimeCountsFromStart) {
  f.Start();
  const std::pair<std::uint32_t, std::string> cases[] = {
      {998, "0:0:0:0"}, {999, "0:0:0:1"}, {59939, "0:0:0:59"}, {59940, "0:0:1:0"}, {86313600, "1:0:0:0"}};
  for (const auto& [ms, text] : cases) {
    TickAt(ms);
    EXPECT_EQ(f.bot->Timer().BotUptime(), text) << ms;
    EXPECT_EQ(f.control(ctl::kUptimeLabel).Caption(), "Uptime: " + text) << ms;
    EXPECT_EQ(f.control(ctl::kSystemUptimeLabel).Caption(), "System uptime: " + UptimeText(Base() + ms)) << ms;
  }
}

TEST_P(MainTimerTest, LostConnectionIsRetriedEveryTwoMinutes) {
  f.Start();
  f.Connect();
  At(5000);
  f.fakes.transport.PeerClose();
  const auto opens = Opens();

  TickAt(5000 + kReconnectWait - 1);
  EXPECT_EQ(Opens(), opens);
  TickAt(5000 + kReconnectWait);
  ASSERT_EQ(Opens(), opens + 1);
  EXPECT_EQ(f.fakes.transport.opens.back(), std::make_pair(std::string("127.0.0.1"), std::uint16_t{411}));

  // The attempt fails a little later; the wait starts again from the failure.
  const std::uint32_t failed = 5000 + kReconnectWait + 3000;
  At(failed);
  f.fakes.transport.Fail(SocketErrorKind::Connect, 10061);
  TickAt(failed + kReconnectWait - 1);
  EXPECT_EQ(Opens(), opens + 1);
  TickAt(failed + kReconnectWait);
  EXPECT_EQ(Opens(), opens + 2);

  // Once connected (and greeted, so the login's time limit is met) nothing
  // more is tried.
  f.fakes.transport.Connect();
  f.Receive("$Lock EXTENDEDPROTOCOLABCABCABCABCABCABC Pk=TestHub|$Hello Guard|");
  for (std::uint32_t ms = failed + kReconnectWait; ms < failed + 10 * kReconnectWait; ms += 20000) {
    TickAt(ms);
  }
  EXPECT_EQ(Opens(), opens + 2);
}

// A hub that takes the connection and then never greets the bot would
// otherwise keep it waiting for ever.
TEST_P(MainTimerTest, LoginThatNeverReachesTheGreetingIsDroppedAfterAMinute) {
  f.Start();
  f.PlainLines();
  At(5000);
  f.Connect();
  f.Receive("$Lock EXTENDEDPROTOCOLABCABCABCABCABCABC Pk=TestHub|");
  const auto opens = Opens();
  const int closes = f.fakes.transport.closes;

  TickAt(5000 + 59999);
  ASSERT_TRUE(f.bot->Connection().Connected());
  TickAt(5000 + 60000);
  EXPECT_FALSE(f.bot->Connection().Connected());
  EXPECT_EQ(f.fakes.transport.closes, closes + 1);
  ASSERT_GE(f.ChatLines().size(), 2u);
  const std::vector<std::string> tail(f.ChatLines().end() - 2, f.ChatLines().end());
  EXPECT_EQ(tail, (std::vector<std::string>{"*** Error: 10060", "*** Disconnected"}));

  // Then the reconnect of any lost connection applies.
  TickAt(5000 + 60000 + kReconnectWait);
  EXPECT_EQ(Opens(), opens + 1);
}

TEST_P(MainTimerTest, GreetedLoginIsNeverDropped) {
  for (const char* greeting : {"$Hello Guard|", "$LogedIn Guard|"}) {
    f.Start();
    At(5000);
    f.Connect();
    f.Receive(std::string("$Lock EXTENDEDPROTOCOLABCABCABCABCABCABC Pk=TestHub|") + greeting);
    for (std::uint32_t ms = 5000; ms < 5000 + 10 * 60000; ms += 999) {
      TickAt(ms);
    }
    EXPECT_TRUE(f.bot->Connection().Connected()) << greeting;
    f.bot->Run([this] { f.bot->Life().ConnectAction(); });  // the operator disconnects
  }
}

TEST_P(MainTimerTest, OperatorsDisconnectIsNotRetried) {
  f.Start();
  f.Connect();
  At(5000);
  f.bot->Run([this] { f.bot->Life().ConnectAction(); });
  ASSERT_FALSE(f.bot->Connection().Connected());
  const auto opens = Opens();

  for (std::uint32_t ms = 5000; ms < 5000 + 5 * kReconnectWait; ms += 999) {
    TickAt(ms);
  }
  EXPECT_EQ(Opens(), opens);
}

TEST_P(MainTimerTest, AutosaveWaitsForACompleteLoad) {
  f.PlainLines();
  f.bot->Ticks().autosave = Base();
  TickAt(60 * kMinute);
  EXPECT_EQ(Saves(), 0);
  EXPECT_FALSE(std::filesystem::exists(f.dir / "Varnek.ini"));
}

TEST_P(MainTimerTest, AutosaveRunsAtItsInterval) {
  f.Start();
  f.PlainLines();
  TickAt(60 * kMinute - 1);
  EXPECT_EQ(Saves(), 0);
  TickAt(60 * kMinute);
  EXPECT_EQ(Saves(), 1);
  EXPECT_TRUE(std::filesystem::exists(f.dir / "Varnek.ini"));

  // The save restarts the interval.
  TickAt(120 * kMinute - 1);
  EXPECT_EQ(Saves(), 1);
  TickAt(120 * kMinute);
  EXPECT_EQ(Saves(), 2);

  f.control(ctl::kAutosaveCheckBox).SetChecked(false);
  TickAt(180 * kMinute);
  EXPECT_EQ(Saves(), 2);
}

// The field takes up to a week; such an interval is met when it has passed.
TEST_P(MainTimerTest, AutosaveIntervalOfMoreThanADay) {
  f.Start();
  f.PlainLines();
  f.control(ctl::kAutosaveSpinEdit).SetValue(1500);  // restarts the interval now

  TickAt(1440 * kMinute);
  TickAt(1499 * kMinute);
  TickAt(1500 * kMinute - 1);
  EXPECT_EQ(Saves(), 0);
  TickAt(1500 * kMinute);
  EXPECT_EQ(Saves(), 1);
}

TEST_P(MainTimerTest, RequestPassAsksForWhatTheHubDoesNotSend) {
  LogInTo("ABC", "NoHello");

  TickAt(kRequestInterval - 1);
  EXPECT_TRUE(f.Writes().empty());
  TickAt(kRequestInterval);
  EXPECT_EQ(f.Writes(), (std::vector<std::string>{"$GetINFO alice Guard|", "$UserIP alice|", "$GetINFO bob Guard|",
                                                  "$UserIP bob|"}));

  // The next pass comes a whole interval after this one.
  f.Writes().clear();
  TickAt(2 * kRequestInterval - 1);
  EXPECT_TRUE(f.Writes().empty());
  TickAt(2 * kRequestInterval);
  EXPECT_EQ(f.Writes().size(), 4u);
}

TEST_P(MainTimerTest, RequestPassSendsNothingWhereTheHubSendsAllButRestarts) {
  struct Case {
    std::string lock;
    std::string supports;
    std::vector<std::string> writes;
  };
  const Case cases[] = {
      {"ABC", "", {}},
      {"ABC", "NoGetINFO UserIP2", {}},
      {"ABC Pk=PtokaX", "NoHello", {}},
      {"ABC", "UserIP2", {"$GetINFO alice Guard|", "$GetINFO bob Guard|"}},
  };
  for (const Case& c : cases) {
    f.fakes.transport.PeerClose();
    At(0);
    LogInTo(c.lock, c.supports);

    TickAt(kRequestInterval);

    EXPECT_EQ(f.Writes(), c.writes) << c.lock << " / " << c.supports;
    EXPECT_EQ(f.bot->Ticks().tryInfo, Base() + kRequestInterval) << c.lock << " / " << c.supports;
  }
}

TEST_P(MainTimerTest, RequestSettingsRestartTheScheduleAndTheConnectionIsNeeded) {
  LogInTo("ABC", "NoHello");
  f.control(ctl::kTryInfoCheckBox).SetChecked(false);
  TickAt(kRequestInterval);
  EXPECT_TRUE(f.Writes().empty());

  f.control(ctl::kTryInfoCheckBox).SetChecked(true);  // the interval starts here
  TickAt(2 * kRequestInterval);
  EXPECT_EQ(f.Writes().size(), 4u);

  f.Writes().clear();
  At(2 * kRequestInterval + 1000);
  f.control(ctl::kTryInfoSpinEdit).SetValue(5);  // so does a new interval
  TickAt(2 * kRequestInterval + 1000 + 5 * kMinute);
  EXPECT_EQ(f.Writes().size(), 4u);

  f.fakes.transport.PeerClose();
  const std::uint32_t lastPass = f.bot->Ticks().tryInfo;
  TickAt(2 * kRequestInterval + 1000 + 10 * kMinute);
  EXPECT_EQ(f.bot->Ticks().tryInfo, lastPass) << "no pass while disconnected";
}

// The field's largest value, a whole day, is met like any other.
TEST_P(MainTimerTest, RequestIntervalOfADay) {
  LogInTo("ABC", "NoHello");
  f.control(ctl::kTryInfoSpinEdit).SetValue(1440);

  TickAt(1440 * kMinute - 1);
  EXPECT_TRUE(f.Writes().empty());
  TickAt(1440 * kMinute);
  EXPECT_EQ(f.Writes().size(), 4u);
}

}  // namespace
}  // namespace varnek
