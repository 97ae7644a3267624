#pragma once

#include "core/ui/Ports.h"
#include "qt/HubCodec.h"

namespace varnek {

// The song of the first media player on the session bus whose playback
// status is "Playing" (MPRIS), as "artist - title".
class MprisMediaTitle : public MediaTitle {
 public:
  explicit MprisMediaTitle(const HubCodec& codec) : codec_(codec) {}
  std::optional<std::string> CurrentSong() override;

 private:
  const HubCodec& codec_;
};

}  // namespace varnek
