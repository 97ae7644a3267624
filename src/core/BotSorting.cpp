// The window's list headers: a click sorts a list once.

#include "core/Bot.h"
#include "core/BotActions.h"
#include "core/model/ControlNames.h"

namespace varnek {
namespace {

// The columns whose texts are sizes: they read best in the order of the
// sizes themselves, not of their digits.
bool IsSizeColumn(UserColumn column) {
  return column == UserColumn::ShareSize || column == UserColumn::ExactShareSize || column == UserColumn::UploadLimit;
}

}  // namespace

void BotActions::SortList(const std::string& listView, SortDirection direction) {
  bot_.Controls().List(listView).Sort(direction, listView == ctl::kKickShareListView);
}

void BotActions::SortUsers(int column, SortDirection direction) {
  const bool bySize = column >= 0 && column < kUserColumnCount && IsSizeColumn(static_cast<UserColumn>(column));
  bot_.Users().Sort(column, direction, bySize);
}

}  // namespace varnek
