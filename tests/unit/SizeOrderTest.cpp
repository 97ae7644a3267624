#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/model/ControlNames.h"
#include "core/model/StringListModel.h"
#include "core/text/SizeOrder.h"

namespace varnek {
namespace {

int Sign(int value) {
  return (value > 0) - (value < 0);
}

TEST(SizeOrder, ComparesWhatTheTextsStandFor) {
  struct Case {
    const char* a;
    const char* b;
    int order;
  };
  const Case cases[] = {
      {"900 MiB", "1.5 GiB", -1},  // as text the other way round
      {"1023 B", "1 KiB", -1},
      {"1.5 GiB", "1536 MiB", -1},  // the same size: the text decides
      {"1.25 TiB", "1.3 TiB", -1},
      {"9 KiB/s", "10 KiB/s", -1},
      {"900", "1000000", -1},  // share patterns are bytes
      {"15*", "2", 1},
      {"-1 B", "0 B", -1},
      {"*", "0", -1},  // no number sorts first
      {"", "0 B", -1},
      {"abc", "ABC", 0},
      {"2 EiB", "3 PiB", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Sign(CompareSizes(c.a, c.b)), c.order) << c.a << " vs " << c.b;
    EXPECT_EQ(Sign(CompareSizes(c.b, c.a)), -c.order) << c.b << " vs " << c.a;
  }
}

TEST(SizeOrder, AListSortsEitherWayKeepingEqualRowsInTheirOrder) {
  StringListModel list(ctl::kKickShareListView);
  const std::vector<std::string> rows = {"900", "b", "1000000", "A", "a", "15*"};
  list.Assign(rows);
  list.Sort(SortDirection::Ascending, true);
  EXPECT_EQ(list.Rows(), (std::vector<std::string>{"A", "a", "b", "15*", "900", "1000000"}));
  list.Sort(SortDirection::Descending, true);
  EXPECT_EQ(list.Rows(), (std::vector<std::string>{"1000000", "900", "15*", "b", "A", "a"}));
  list.Assign(rows);
  list.Sort(SortDirection::Descending, false);
  EXPECT_EQ(list.Rows(), (std::vector<std::string>{"b", "A", "a", "900", "15*", "1000000"}));
}

}  // namespace
}  // namespace varnek
