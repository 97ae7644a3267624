#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>

#include "core/users/UserListIndex.h"

namespace varnek {
namespace {

TEST(UserListIndex, AnswersTheSmallestOrderOfAText) {
  UserListIndex index;
  EXPECT_EQ(index.First("a"), std::nullopt);
  index.Add("a", 5);
  index.Add("a", 3);
  index.Add("a", 9);
  index.Add("", 4);
  EXPECT_EQ(index.First("a"), 3u);
  EXPECT_EQ(index.First(""), 4u);
  EXPECT_EQ(index.First("A"), std::nullopt);
  index.Remove("a", 3);
  EXPECT_EQ(index.First("a"), 5u);
  index.Remove("a", 7);  // not there: nothing changes
  index.Remove("b", 5);
  EXPECT_EQ(index.First("a"), 5u);
  index.Remove("a", 9);
  index.Remove("a", 5);
  EXPECT_EQ(index.First("a"), std::nullopt);
  EXPECT_EQ(index.First(""), 4u);
  index.Clear();
  EXPECT_EQ(index.First(""), std::nullopt);
}

// Thousands of texts make the table grow and its probe runs collide and wrap,
// and removals shift probes back and move entries: every answer must still
// match a plain ordered map.
TEST(UserListIndex, AgreesWithAnOrderedMapThroughGrowthAndRemovals) {
  UserListIndex index;
  std::map<std::string, std::set<std::uint64_t>> expected;
  std::mt19937 random(7);
  std::uniform_int_distribution<int> keyOf(0, 3000);
  std::uniform_int_distribution<std::uint64_t> orderOf(0, 5);
  for (int step = 0; step < 60000; ++step) {
    const std::string key = "k" + std::to_string(keyOf(random));
    const std::uint64_t order = orderOf(random);
    if (step % 3 == 2 || step > 40000) {
      index.Remove(key, order);
      if (auto hit = expected.find(key); hit != expected.end() && hit->second.erase(order) && hit->second.empty()) {
        expected.erase(hit);
      }
    } else if (expected[key].insert(order).second) {
      index.Add(key, order);
    }
    if (step % 997 == 0 || step == 59999) {
      for (int k = 0; k <= 3000; ++k) {
        const std::string probe = "k" + std::to_string(k);
        const auto hit = expected.find(probe);
        const std::optional<std::uint64_t> want =
            hit == expected.end() ? std::nullopt : std::optional<std::uint64_t>(*hit->second.begin());
        ASSERT_EQ(index.First(probe), want) << probe << " at step " << step;
      }
    }
  }
}

}  // namespace
}  // namespace varnek
