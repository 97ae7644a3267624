#pragma once

#include <string>

namespace varnek {

// What the operator might miss while the window is out of sight.
enum class NoticeKind { PrivateMessage, Kick, ConnectionLost };

// Shows a notice on the desktop (the window's tray icon); the bot calls it
// only for the kinds the operator has switched on. Texts are in the hub's
// code page, as every text of the core. Returns whether the notice was
// shown: the operator at the window needs none.
class NoticeListener {
 public:
  virtual ~NoticeListener() = default;
  virtual bool OnNotice(NoticeKind kind, const std::string& title, const std::string& text) = 0;
};

}  // namespace varnek
