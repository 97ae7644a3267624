#include "core/hub/GuardedMediaTitle.h"

#include <utility>

namespace varnek {

void GuardedMediaTitle::RequestSong(std::function<void(std::optional<PlayingSong>)> done) {
  media_.RequestSong(errors_.GuardedReply(std::move(done)));
}

}  // namespace varnek
