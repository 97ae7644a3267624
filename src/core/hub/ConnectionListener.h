#pragma once

namespace varnek {

// The connection's own events, for the window's connection states.
class ConnectionListener {
 public:
  virtual ~ConnectionListener() = default;
  virtual void OnConnecting() = 0;
  virtual void OnConnected() = 0;
  virtual void OnConnectionError() = 0;
  virtual void OnDisconnected() = 0;
};

}  // namespace varnek
