#pragma once

#include <cstdint>
#include <string>

namespace varnek {

class HubConnection;
class UserList;
struct HubSession;
struct TickStamps;

// What the connection's one-line summary reads.
struct ConnectionStatusParts {
  const HubConnection& connection;
  const HubSession& session;
  const TickStamps& ticks;
  const UserList& users;
  // The bot's nick, as the connection uses it.
  const std::string& nick;
};

// The connection in one line, for a service manager's status: "Connected to
// HOST:PORT as NICK, N users", "Logging in to HOST:PORT as NICK", "Connecting
// to HOST:PORT", "Reconnecting to HOST:PORT in N s" or "Not connected". The
// nick stands in the hub's code page. It changes only with the connection's
// state, the user count and the reconnect's countdown, never with the time of
// day, so a caller can send it on whenever it differs from the last one.
std::string ConnectionStatusText(const ConnectionStatusParts& parts, std::uint32_t now);

}  // namespace varnek
