// The user list's kept sort: once the operator has sorted the list, a new row
// goes to its place in that order and a row whose sorted text changes moves,
// so the list never has to be sorted again.

#include <algorithm>
#include <stdexcept>
#include <string>

#include "core/text/Ascii.h"
#include "core/users/UserList.h"

namespace varnek {

void UserList::Sort(int column, SortDirection direction, bool bySize) {
  if (column < 0 || column >= kUserColumnCount) {
    throw std::out_of_range("the user list has no column " + std::to_string(column));
  }
  sort_ = SortOrder{column, direction, bySize};
  std::stable_sort(rows_.begin(), rows_.end(), [this](SlotId a, SlotId b) { return CompareRows(a, b) < 0; });
  Renumber();
  RebuildKeys();
  Notify([&](Listener& l) { l.OnListReset(*this); });
}

int UserList::CompareRows(SlotId a, SlotId b) const {
  const auto column = static_cast<UserColumn>(sort_.column);
  const std::string_view x = slots_[a].record.Cell(column);
  const std::string_view y = slots_[b].record.Cell(column);
  const int order = sort_.bySize ? CompareSizes(x, y) : AsciiCompareIgnoreCase(x, y);
  return sort_.direction == SortDirection::Ascending ? order : -order;
}

// After the rows that sort equal to it, as a stable sort would leave a row
// that came last.
int UserList::SortedPlace(SlotId slot, std::size_t end) const {
  const auto first = rows_.begin();
  const auto place = std::upper_bound(first, first + static_cast<std::ptrdiff_t>(end), slot,
                                      [this](SlotId a, SlotId b) { return CompareRows(a, b) < 0; });
  return static_cast<int>(place - first);
}

// The order key for a row about to be put in front of display row `row` (at
// the end when `row` is the count): the middle of the free keys between its
// neighbours', after renumbering when they have none between them.
std::uint32_t UserList::OrderAt(std::size_t row) {
  if (row == rows_.size()) {
    if (nextOrder_ == UINT32_MAX) {
      Renumber();
    }
    return nextOrder_++;
  }
  const auto lowestFree = [this, row] { return row == 0 ? std::uint64_t{0} : std::uint64_t{orders_[row - 1]} + 1; };
  if (lowestFree() >= orders_[row]) {
    Renumber();
  }
  const std::uint64_t low = lowestFree();
  return static_cast<std::uint32_t>(low + (orders_[row] - low) / 2);
}

// Puts a row into the display order at `row`; its chains are the caller's.
void UserList::Place(SlotId slot, std::size_t row) {
  const std::uint32_t order = OrderAt(row);
  slots_[slot].order = order;
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(row), slot);
  orders_.insert(orders_.begin() + static_cast<std::ptrdiff_t>(row), order);
}

// After a row's texts changed: moves it to its place when the list is kept
// sorted and it no longer fits between its neighbours. Returns its row.
int UserList::KeepInOrder(int row) {
  if (sort_.column < 0) {
    return row;
  }
  const auto at = static_cast<std::size_t>(row);
  const SlotId slot = rows_[at];
  const bool afterPrevious = at == 0 || CompareRows(rows_[at - 1], slot) <= 0;
  const bool beforeNext = at + 1 == rows_.size() || CompareRows(slot, rows_[at + 1]) <= 0;
  if (afterPrevious && beforeNext) {
    return row;
  }
  UnchainAll(slot);
  rows_.erase(rows_.begin() + row);
  orders_.erase(orders_.begin() + row);
  const int to = SortedPlace(slot, rows_.size());
  Place(slot, static_cast<std::size_t>(to));
  ChainAll(slot);
  Notify([&](Listener& l) { l.OnRowMoved(*this, row, to); });
  return to;
}

}  // namespace varnek
