#pragma once

#include <functional>
#include <string>

#include "core/model/Ports.h"

namespace varnek {

class ControlModel;
class HubConnection;
class KickWatch;
class LangTable;
class ProtocolCounters;
class SettingsFile;
class UserList;
struct HubSession;
struct TickStamps;
class ErrorHandler;
class Login;

// The once-a-second tick: clock, connection summary, uptimes, the kicks the
// hub has not carried out, statistics, the time limit of a login, the
// reconnect two minutes after a lost connection, the autosave and the
// scheduled user information requests.
class MainTimer {
 public:
  // What this part reads and changes; the bot owns all of it.
  struct Context {
    Clock& clock;
    HubConnection& connection;
    ControlModel& controls;
    ProtocolCounters& counters;
    KickWatch& kickWatch;
    LangTable& lang;
    HubSession& session;
    SettingsFile& settings;
    TickStamps& ticks;
    UserList& users;
  };

  // How long a connected hub may take to greet the bot, in milliseconds.
  static constexpr unsigned kLoginTimeLimit = 60000;
  // A lost connection is tried again when the program's minutes since the
  // loss, counted modulo the cycle, reach this many.
  static constexpr unsigned kReconnectMinute = 2;
  static constexpr unsigned kReconnectCycle = 60;

  MainTimer(Context context, Login& login, ErrorHandler& errors, std::function<void()> connectAction)
      : context_(context), login_(login), errors_(errors), connectAction_(std::move(connectAction)) {}

  void Tick();
  void RequestUserInfo();
  void ClearStatistics();

  const std::string& BotUptime() const { return botUptime_; }

 private:
  void ShowClockAndUptimes(unsigned now);
  void ShowStatistics();
  void GiveUpStalledLogin(unsigned now);
  void ReconnectWhenDue(unsigned now);
  void AutosaveWhenDue(unsigned now);
  void RequestInfoWhenDue(unsigned now);

  Context context_;
  Login& login_;
  ErrorHandler& errors_;
  std::function<void()> connectAction_;
  std::string systemUptime_;
  std::string botUptime_;
};

}  // namespace varnek
