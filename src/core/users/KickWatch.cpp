#include "core/users/KickWatch.h"

#include <utility>

#include "core/model/ProtocolCounters.h"
#include "core/store/LangTable.h"
#include "core/store/OutputPanes.h"

namespace varnek {

void KickWatch::Watch(std::string_view nick) {
  if (open_.contains(nick)) {
    return;
  }
  inOrder_.push_back({std::string(nick), context_.clock.TickCount()});
  open_.insert(inOrder_.back().nick);
}

void KickWatch::EndWatch(std::string_view nick) {
  open_.erase(nick);
}

void KickWatch::EndAll() {
  open_.clear();
  inOrder_.clear();
}

void KickWatch::ReportOverdue(std::uint32_t now) {
  while (!inOrder_.empty() && now - inOrder_.front().started >= kTimeLimitMs) {
    const auto open = open_.find(inOrder_.front().nick);
    if (open == open_.end() || open->data() != inOrder_.front().nick.data()) {
      inOrder_.pop_front();
      continue;
    }
    open_.erase(open);
    const std::string nick = std::move(inOrder_.front().nick);
    inOrder_.pop_front();
    // Counted and ended before the line is made: a translation that cannot
    // be formatted must not report the same kick again at every tick.
    context_.counters.CountKickNotCarriedOut();
    context_.panes.ChatLine(context_.lang.Format(LangKickNotCarriedOut, {nick}));
    if (overdue_) {
      overdue_(nick);
    }
  }
}

}  // namespace varnek
