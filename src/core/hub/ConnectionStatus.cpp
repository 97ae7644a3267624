#include "core/hub/ConnectionStatus.h"

#include "core/hub/HubAddress.h"
#include "core/hub/HubConnection.h"
#include "core/hub/HubSession.h"
#include "core/hub/MainTimer.h"
#include "core/hub/Uptime.h"
#include "core/model/TickStamps.h"
#include "core/users/UserList.h"

namespace varnek {
namespace {

std::string UserCount(int count) {
  return std::to_string(count) + (count == 1 ? " user" : " users");
}

// The whole seconds until the main timer's reconnect, rounded up; none when
// it is due at the next tick.
std::uint32_t SecondsUntilReconnect(std::uint32_t now, std::uint32_t disconnect) {
  constexpr std::uint32_t kDue = MainTimer::kReconnectMinute * kMinuteMs;
  constexpr std::uint32_t kCycle = MainTimer::kReconnectCycle * kMinuteMs;
  const std::uint32_t elapsed = Elapsed(now, disconnect) % kCycle;
  if (elapsed >= kDue && elapsed < kDue + kMinuteMs) {
    return 0;
  }
  // A tick that missed the due minute waits for it in the next cycle, as the
  // main timer does.
  const std::uint32_t wait = elapsed < kDue ? kDue - elapsed : kCycle - elapsed + kDue;
  return (wait + 999) / 1000;
}

}  // namespace

std::string ConnectionStatusText(const ConnectionStatusParts& parts, std::uint32_t now) {
  const HubConnection& connection = parts.connection;
  const std::string hub = ShowHostAndPort(connection.Host(), connection.Port());
  if (connection.Connected() && parts.session.loginInfoSent) {
    return "Connected to " + hub + " as " + parts.nick + ", " + UserCount(parts.users.Count());
  }
  if (connection.Connected()) {
    return "Logging in to " + hub + " as " + parts.nick;
  }
  if (connection.SocketOpen()) {
    return "Connecting to " + hub;
  }
  if (parts.session.reconnectPending) {
    const std::uint32_t seconds = SecondsUntilReconnect(now, parts.ticks.disconnect);
    return "Reconnecting to " + hub + (seconds == 0 ? std::string() : " in " + std::to_string(seconds) + " s");
  }
  return "Not connected";
}

}  // namespace varnek
