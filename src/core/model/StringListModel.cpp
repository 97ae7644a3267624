#include "core/model/StringListModel.h"

#include <algorithm>

#include "core/text/Ascii.h"

namespace varnek {

void StringListModel::Append(std::string text) {
  rows_.push_back(std::move(text));
  const int row = Count() - 1;
  Notify([&](Listener& l) { l.OnRowsInserted(*this, row, 1); });
}

void StringListModel::SetAt(int row, std::string text) {
  rows_.at(static_cast<std::size_t>(row)) = std::move(text);
  Notify([&](Listener& l) { l.OnRowChanged(*this, row); });
}

void StringListModel::RemoveAt(int row) {
  rows_.erase(rows_.begin() + row);
  Notify([&](Listener& l) { l.OnRowsRemoved(*this, row, 1); });
}

void StringListModel::Clear() {
  if (rows_.empty()) {
    return;
  }
  rows_.clear();
  Notify([&](Listener& l) { l.OnListReset(*this); });
}

void StringListModel::Assign(std::vector<std::string> rows) {
  rows_ = std::move(rows);
  Notify([&](Listener& l) { l.OnListReset(*this); });
}

int StringListModel::IndexOf(std::string_view text) const {
  auto hit = std::find(rows_.begin(), rows_.end(), text);
  return hit == rows_.end() ? -1 : static_cast<int>(hit - rows_.begin());
}

void StringListModel::Sort(SortDirection direction, bool bySize) {
  const int sign = direction == SortDirection::Ascending ? 1 : -1;
  std::stable_sort(rows_.begin(), rows_.end(), [sign, bySize](const std::string& a, const std::string& b) {
    return sign * (bySize ? CompareSizes(a, b) : AsciiCompareIgnoreCase(a, b)) < 0;
  });
  Notify([&](Listener& l) { l.OnListReset(*this); });
}

void StringListModel::RemoveListener(Listener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

}  // namespace varnek
