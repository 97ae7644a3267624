// The window's list headers: a click sorts a list once.

#include <algorithm>
#include <utility>
#include <vector>

#include "core/Bot.h"
#include "core/BotActions.h"
#include "core/model/ControlNames.h"
#include "core/users/PatternList.h"

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

const PatternList* BotActions::PatternHits(std::string_view listView) {
  return bot_.Detector().PatternsOfView(listView);
}

// Rows of equal hits keep their order, so a second sort by hits after one by
// text leaves each count's rows in text order.
void BotActions::SortListByHits(const std::string& listView, SortDirection direction) {
  const PatternList* hits = PatternHits(listView);
  if (hits == nullptr) {
    return;
  }
  StringListModel& list = bot_.Controls().List(listView);
  std::vector<std::string> rows = list.Rows();
  std::stable_sort(rows.begin(), rows.end(), [hits, direction](const std::string& a, const std::string& b) {
    return direction == SortDirection::Ascending ? hits->HitsOf(a) < hits->HitsOf(b)
                                                 : hits->HitsOf(a) > hits->HitsOf(b);
  });
  list.Assign(std::move(rows));
}

void BotActions::SortUsers(int column, SortDirection direction) {
  const bool bySize = column >= 0 && column < kUserColumnCount && IsSizeColumn(static_cast<UserColumn>(column));
  bot_.Users().Sort(column, direction, bySize);
}

}  // namespace varnek
