#include "core/hub/MainTimer.h"

#include "core/context/BotVoice.h"
#include "core/hub/ErrorHandler.h"
#include "core/hub/HubConnection.h"
#include "core/hub/HubSession.h"
#include "core/hub/Login.h"
#include "core/hub/Uptime.h"
#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/model/ProtocolCounters.h"
#include "core/model/TickStamps.h"
#include "core/store/LangTable.h"
#include "core/store/SettingsFile.h"
#include "core/users/KickWatch.h"
#include "core/users/UserList.h"

namespace varnek {
namespace {

// The schedules count elapsed minutes modulo a day, which an interval of a
// day or more (the autosave field takes up to a week, the request field a
// whole day) would never meet; for those the count runs up to the interval.
unsigned ScheduleCycle(unsigned interval) {
  return interval < 1440 ? 1440 : interval + 1;
}

}  // namespace

// Each step stands on its own: a label whose message cannot be formatted (a
// broken translation) must not keep the reconnect or the autosave from
// running.
void MainTimer::Tick() {
  const unsigned now = context_.clock.TickCount();
  errors_.Guard([this, now] { ShowClockAndUptimes(now); });
  errors_.Guard([this, now] { context_.kickWatch.ReportOverdue(now); });
  errors_.Guard([this] { ShowStatistics(); });
  errors_.Guard([this, now] { GiveUpStalledLogin(now); });
  errors_.Guard([this, now] { ReconnectWhenDue(now); });
  errors_.Guard([this, now] { AutosaveWhenDue(now); });
  errors_.Guard([this, now] { RequestInfoWhenDue(now); });
}

void MainTimer::ShowClockAndUptimes(unsigned now) {
  ControlModel& controls = context_.controls;
  const LangTable& lang = context_.lang;
  controls.Get(ctl::kLocalTimeLabel).SetCaption(lang.Format(LangLocalTime, {context_.clock.LocalTimeText()}));
  controls.Get(ctl::kStatusBar)
      .SetCaption(context_.connection.Connected() ? lang.Format(LangUsers, {std::to_string(context_.users.Count())})
                                                  : lang.Text(LangNotConnected));
  systemUptime_ = UptimeText(now);
  botUptime_ = UptimeText(Elapsed(now, context_.ticks.start));
  controls.Get(ctl::kUptimeLabel).SetCaption(lang.Format(LangUptime, {botUptime_}));
  controls.Get(ctl::kSystemUptimeLabel).SetCaption(lang.Format(LangSystemUptime, {systemUptime_}));
}

void MainTimer::ShowStatistics() {
  ControlModel& controls = context_.controls;
  const LangTable& lang = context_.lang;
  const ProtocolCounters& counters = context_.counters;
  controls.Get(ctl::kDetectionsLabel)
      .SetCaption(lang.Format(LangStatsDetections, {std::to_string(counters.Detections())}));
  controls.Get(ctl::kKicksNotCarriedOutLabel)
      .SetCaption(lang.Format(LangStatsKicksNotCarriedOut, {std::to_string(counters.KicksNotCarriedOut())}));
  auto show = [&](const auto& row, std::uint32_t value) {
    const std::string count = std::to_string(value);
    controls.Get(row.label).SetCaption(row.caption ? row.caption + count : lang.Format(LangMainChatMessages, {count}));
  };
  for (const auto& row : kSentCounterRows) {
    show(row, counters.Sent(row.counter));
  }
  for (const auto& row : kReceivedCounterRows) {
    show(row, counters.Received(row.counter));
  }
}

// A hub that takes the connection and then never greets the bot (no "$Hello"
// for it, no "$LogedIn") would keep it waiting for ever, and so would a TLS
// hub that never finishes its handshake. After the time limit
// the connection is given up as a timed-out one, which ends in the
// disconnected state and so in the reconnect below.
void MainTimer::GiveUpStalledLogin(unsigned now) {
  if (context_.connection.Connected() && !context_.session.loginInfoSent &&
      Elapsed(now, context_.ticks.connect) >= kLoginTimeLimit) {
    context_.connection.CloseWithError(HubConnection::kTimedOutCode,
                                       context_.connection.AwaitingHandshake()
                                           ? "the TLS handshake did not finish within 60 seconds"
                                           : "the hub did not let the bot in within 60 seconds");
  }
}

// The first attempt comes 119,880 ms after the connection was lost; a failed
// attempt ends in the disconnected state again, which stamps anew.
void MainTimer::ReconnectWhenDue(unsigned now) {
  if (context_.session.reconnectPending &&
      ElapsedMinutes(now, context_.ticks.disconnect, kReconnectCycle) == kReconnectMinute) {
    connectAction_();
    context_.ticks.disconnect = context_.clock.TickCount();
  }
}

void MainTimer::AutosaveWhenDue(unsigned now) {
  const ControlModel& controls = context_.controls;
  const auto interval = static_cast<unsigned>(controls.Get(ctl::kAutosaveSpinEdit).Value());
  if (controls.Get(ctl::kAutosaveCheckBox).Checked() &&
      ElapsedMinutes(now, context_.ticks.autosave, ScheduleCycle(interval)) == interval) {
    context_.settings.Autosave();
  }
}

void MainTimer::RequestInfoWhenDue(unsigned now) {
  const ControlModel& controls = context_.controls;
  const auto interval = static_cast<unsigned>(controls.Get(ctl::kTryInfoSpinEdit).Value());
  if (context_.connection.Connected() && controls.Get(ctl::kTryInfoCheckBox).Checked() &&
      ElapsedMinutes(now, context_.ticks.tryInfo, ScheduleCycle(interval)) == interval) {
    RequestUserInfo();
  }
}

void MainTimer::RequestUserInfo() {
  // The walk reads every nick first: a send may run handlers that change the
  // list (it never does today, but the walk must not depend on that).
  std::vector<std::string> nicks;
  nicks.reserve(static_cast<std::size_t>(context_.users.Count()));
  for (int row = 0; row < context_.users.Count(); ++row) {
    nicks.push_back(context_.users.Row(row).Nick());
  }
  for (const std::string& nick : nicks) {
    login_.RequestUserInfo(nick);
  }
  context_.ticks.tryInfo = context_.clock.TickCount();
}

void MainTimer::ClearStatistics() {
  context_.counters.Clear();
}

}  // namespace varnek
