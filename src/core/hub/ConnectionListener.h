#pragma once

#include <string>

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

// Where an error in the handling of one command goes, so that the next
// command is still handled.
class ErrorHandler {
 public:
  virtual ~ErrorHandler() = default;
  // A command from the hub that had to be abandoned (a value that is no
  // number, a pattern too complex to match): noted, nothing asked.
  virtual void HandleAbandonedCommand(const std::string& what) = 0;
  // Anything else that escaped a handler: the last-resort question.
  virtual void HandleUnexpectedError(const std::string& what) = 0;
};

}  // namespace varnek
