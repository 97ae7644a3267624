#include "core/users/KickWatch.h"

#include <utility>

#include "core/model/ProtocolCounters.h"
#include "core/store/LangTable.h"
#include "core/store/OutputPanes.h"

namespace varnek {

void KickWatch::Watch(std::string_view nick) {
  const std::uint32_t now = context_.clock.TickCount();
  if (started_.try_emplace(std::string(nick), now).second) {
    inOrder_.push_back({std::string(nick), now});
  }
}

void KickWatch::EndWatch(std::string_view nick) {
  started_.erase(std::string(nick));
}

void KickWatch::EndAll() {
  started_.clear();
  inOrder_.clear();
}

void KickWatch::ReportOverdue(std::uint32_t now) {
  while (!inOrder_.empty() && now - inOrder_.front().started >= kTimeLimitMs) {
    const Kick kick = std::move(inOrder_.front());
    inOrder_.pop_front();
    const auto open = started_.find(kick.nick);
    if (open == started_.end() || open->second != kick.started) {
      continue;
    }
    started_.erase(open);
    // Counted and ended before the line is made: a translation that cannot
    // be formatted must not report the same kick again at every tick.
    context_.counters.CountKickNotCarriedOut();
    context_.panes.ChatLine(context_.lang.Format(LangKickNotCarriedOut, {kick.nick}));
    if (overdue_) {
      overdue_(kick.nick);
    }
  }
}

}  // namespace varnek
