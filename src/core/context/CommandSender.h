#pragma once

#include <string_view>

namespace varnek {

// The one send path to the hub, as the parts below the connection see it:
// the users' detections and kicks send commands without knowing the socket.
class CommandSender {
 public:
  // Returns whether the command was accepted.
  virtual bool SendCommand(std::string_view text) = 0;

 protected:
  ~CommandSender() = default;
};

}  // namespace varnek
