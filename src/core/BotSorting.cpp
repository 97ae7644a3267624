// The window's list headers: a click sorts a list once.

#include "core/Bot.h"
#include "core/model/ControlNames.h"

namespace varnek {
namespace {

// The columns whose texts are sizes: they read best in the order of the
// sizes themselves, not of their digits.
bool IsSizeColumn(UserColumn column) {
  return column == UserColumn::ShareSize || column == UserColumn::ExactShareSize || column == UserColumn::UploadLimit;
}

}  // namespace

void Bot::SortList(const std::string& listName, SortDirection direction) {
  controls_.List(listName).Sort(direction, listName == ctl::kKickShareListView);
}

void Bot::SortUsers(int column, SortDirection direction) {
  const bool bySize = column >= 0 && column < kUserColumnCount && IsSizeColumn(static_cast<UserColumn>(column));
  users_.Sort(column, direction, bySize);
}

}  // namespace varnek
