#pragma once

#include <string>

namespace varnek {

// What the bot knows about the hub it is connected to. Everything here but
// `reconnectPending` is forgotten when the connection ends.
struct HubSession {
  // After the lock: "ynhub", "verlihub", "ptokax" or "other"; only "ptokax"
  // changes behaviour.
  std::string hubSoftware;
  // The parameters of the hub's last "$Supports", as sent.
  std::string hubSupports;
  bool loginInfoSent = false;
  bool hubNameShown = false;
  // Set when a connection ends without the operator asking for it; the main
  // timer then reconnects.
  bool reconnectPending = false;

  bool IsPtokax() const { return hubSoftware == "ptokax"; }

  void Forget() {
    hubSoftware.clear();
    hubSupports.clear();
    loginInfoSent = false;
    hubNameShown = false;
  }
};

}  // namespace varnek
