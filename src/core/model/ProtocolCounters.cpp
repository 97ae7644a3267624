#include "core/model/ProtocolCounters.h"

namespace varnek {

void ProtocolCounters::CountSent(std::string_view text) {
  for (const auto& row : kSentCounterRows) {
    if (text.starts_with(row.command)) {
      Count(row.counter);
      return;
    }
  }
}

void ProtocolCounters::Clear() {
  sent_.fill(0);
  received_.fill(0);
  detections_ = 0;
  kicksNotCarriedOut_ = 0;
}

}  // namespace varnek
