#pragma once

#include <string_view>

namespace varnek {

// The connection's own events, for the window's connection states.
class ConnectionListener {
 public:
  virtual ~ConnectionListener() = default;
  virtual void OnConnecting() = 0;
  virtual void OnConnected() = 0;
  // A TLS hub's certificate (its SHA-256 fingerprint, empty when it showed
  // none), before anything is read from it.
  virtual void OnHubCertificate(std::string_view fingerprint) = 0;
  virtual void OnConnectionError() = 0;
  virtual void OnDisconnected() = 0;
};

}  // namespace varnek
