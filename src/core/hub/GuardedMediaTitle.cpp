#include "core/hub/GuardedMediaTitle.h"

#include <utility>

namespace varnek {

void GuardedMediaTitle::RequestSong(std::function<void(std::optional<PlayingSong>)> done) {
  media_.RequestSong([this, done = std::move(done)](std::optional<PlayingSong> song) {
    errors_.Guard([&] { done(std::move(song)); });
  });
}

}  // namespace varnek
