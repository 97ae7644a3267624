#pragma once

#include <QObject>

#include "core/model/Ports.h"
#include "qt/HubCodec.h"

namespace varnek {

// The song of the first media player on the session bus whose playback
// status is "Playing" (MPRIS). Every D-Bus call is asynchronous and the whole
// lookup ends within a second: a player that hangs (stopped, or busy) counts
// as not playing, and the event loop keeps running meanwhile.
class MprisMediaTitle : public QObject, public MediaTitle {
 public:
  // From the request to the answer, whatever the players do.
  static constexpr int kAnswerWithinMs = 1000;

  explicit MprisMediaTitle(const HubCodec& codec, QObject* parent = nullptr) : QObject(parent), codec_(codec) {}
  void RequestSong(std::function<void(std::optional<PlayingSong>)> done) override;

 private:
  const HubCodec& codec_;
};

}  // namespace varnek
