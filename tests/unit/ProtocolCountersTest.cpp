#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/hub/Dispatcher.h"
#include "core/hub/HubEvents.h"
#include "core/model/ControlModel.h"
#include "core/model/ProtocolCounters.h"

namespace varnek {
namespace {

// Events that do nothing: only the counting is looked at here.
class IgnoringEvents : public HubEvents {
 public:
  void OnLock(std::string_view) override {}
  void OnHubName(std::string_view) override {}
  void OnValidateDenide(std::string_view) override {}
  void OnGetPass() override {}
  void OnBadPass() override {}
  void OnSupports(std::string_view) override {}
  void OnHubIsFull() override {}
  void OnLogedIn() override {}
  void OnHello(std::string_view) override {}
  void OnOpListItem(std::string_view) override {}
  void OnMyInfo(std::string_view) override {}
  void OnUserIp(std::string_view, std::string_view) override {}
  void OnQuit(std::string_view) override {}
  void OnForceMove(std::string_view) override {}
  void OnPrivateMessage(std::string_view, std::string_view, std::string_view) override {}
  void OnConnectToMe(std::string_view) override {}
  void OnSearch(std::string_view) override {}
  void OnHubTopic(std::string_view) override {}
  void OnChatLine(std::string_view) override {}
};

template <typename Counter, std::size_t N>
std::uint32_t Total(const CounterRow<Counter> (&rows)[N], const auto& read) {
  std::uint32_t total = 0;
  for (const auto& row : rows) {
    total += read(row.counter);
  }
  return total;
}

// Each named row counts its own command and no other: a row whose name an
// earlier row already takes would show a count that never moves.
TEST(ProtocolCountersTest, EveryNamedReceivedRowIsCountedUnderItself) {
  IgnoringEvents events;
  for (const auto& row : kReceivedCounterRows) {
    if (row.command.empty()) {
      continue;
    }
    ProtocolCounters counters;
    DispatchCommand(std::string(row.command) + " x$$", events, counters);
    EXPECT_EQ(counters.Received(row.counter), 1u) << row.command;
    EXPECT_EQ(Total(kReceivedCounterRows, [&](ReceivedCounter c) { return counters.Received(c); }), 1u) << row.command;
  }
}

TEST(ProtocolCountersTest, EverySentRowCountsTheTextsItBegins) {
  for (const auto& row : kSentCounterRows) {
    ProtocolCounters counters;
    counters.CountSent(std::string(row.command) + "x");
    EXPECT_EQ(counters.Sent(row.counter), 1u) << row.command;
    EXPECT_EQ(Total(kSentCounterRows, [&](SentCounter c) { return counters.Sent(c); }), 1u) << row.command;
  }
}

TEST(ProtocolCountersTest, EveryRowHasALabelOfItsOwn) {
  ControlModel controls;
  std::set<std::string> labels;
  auto check = [&](const auto& row) {
    const Control* label = controls.Find(row.label);
    ASSERT_NE(label, nullptr) << row.label;
    EXPECT_EQ(label->Kind(), ControlKind::Label) << row.label;
    EXPECT_TRUE(labels.insert(row.label).second) << row.label << " shows two counters";
  };
  for (const auto& row : kSentCounterRows) {
    check(row);
  }
  for (const auto& row : kReceivedCounterRows) {
    check(row);
  }
}

}  // namespace
}  // namespace varnek
