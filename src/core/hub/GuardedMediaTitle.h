#pragma once

#include <functional>
#include <optional>

#include "core/hub/ErrorHandler.h"
#include "core/model/Ports.h"

namespace varnek {

// The media player's answers arrive from the event loop, so each runs behind
// the bot's error boundary like every other entry.
class GuardedMediaTitle : public MediaTitle {
 public:
  GuardedMediaTitle(MediaTitle& media, ErrorHandler& errors) : media_(media), errors_(errors) {}
  void RequestSong(std::function<void(std::optional<PlayingSong>)> done) override;

 private:
  MediaTitle& media_;
  ErrorHandler& errors_;
};

}  // namespace varnek
