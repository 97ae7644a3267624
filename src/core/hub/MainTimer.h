#pragma once

#include <functional>
#include <string>

namespace varnek {

struct BotContext;
class ErrorHandler;
class Login;

// The once-a-second tick: clock, connection summary, uptimes, statistics,
// the time limit of a login, the reconnect two minutes after a lost
// connection, the autosave and the scheduled user information requests.
class MainTimer {
 public:
  // How long a connected hub may take to greet the bot, in milliseconds.
  static constexpr unsigned kLoginTimeLimit = 60000;

  MainTimer(BotContext& context, Login& login, ErrorHandler& errors, std::function<void()> connectAction)
      : context_(context), login_(login), errors_(errors), connectAction_(std::move(connectAction)) {}

  void Tick();
  void RequestUserInfo();
  void ClearStatistics();

  const std::string& SystemUptime() const { return systemUptime_; }
  const std::string& BotUptime() const { return botUptime_; }

 private:
  void ShowClockAndUptimes(unsigned now);
  void ShowStatistics();
  void GiveUpStalledLogin(unsigned now);
  void ReconnectWhenDue(unsigned now);
  void AutosaveWhenDue(unsigned now);
  void RequestInfoWhenDue(unsigned now);

  BotContext& context_;
  Login& login_;
  ErrorHandler& errors_;
  std::function<void()> connectAction_;
  std::string systemUptime_;
  std::string botUptime_;
};

}  // namespace varnek
