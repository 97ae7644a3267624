#include "core/model/NoticeGroup.h"

#include <algorithm>

namespace varnek {

void NoticeGroup::Add(std::string_view name, std::uint32_t now) {
  // The tick count wraps; the difference does not.
  if (count_ > 0 && now - last_ >= kNoticeShownMs) {
    Forget();
  }
  last_ = now;
  if (std::find(names_.begin(), names_.end(), name) != names_.end()) {
    return;
  }
  ++count_;
  if (names_.size() < kNamesKept) {
    names_.emplace_back(name);
  }
}

void NoticeGroup::Forget() {
  names_.clear();
  count_ = 0;
}

}  // namespace varnek
