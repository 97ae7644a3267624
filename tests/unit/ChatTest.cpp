#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/commands/Chat.h"
#include "core/model/ControlNames.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

// A logged-in bot "Guard"; nobody may give it commands.
class BotMessageTest : public ::testing::Test {
 protected:
  BotMessageTest() {
    f.LogIn("Guard");
    f.PlainLines();
  }

  void Message(const std::string& sender, const std::string& words) {
    f.Receive("$To: Guard From: " + sender + " $<" + sender + "> " + words + "|");
  }
  int BotMessagesTo(const std::string& nick) {
    const std::string start = "$To: " + nick + " From: Guard $<Guard> I do not accept any private messages";
    int count = 0;
    for (const std::string& write : f.Writes()) {
      count += write.starts_with(start) ? 1 : 0;
    }
    return count;
  }
  int PrivateMessagesShown() {
    int count = 0;
    for (const std::string& line : f.ChatLines()) {
      count += line.starts_with("*** Private message from ") ? 1 : 0;
    }
    return count;
  }

  test::BotFixture f;
};

struct Step {
  std::uint32_t advanceMs;
  const char* sender;
  bool answered;
};

// Another bot that answers every private message would trade answers with
// this one for ever; each sender gets the bot message once a minute at most,
// also across the wrap of the tick count. Every message is still shown.
TEST_F(BotMessageTest, EachSenderGetsTheBotMessageOnceAMinute) {
  f.fakes.clock.now = 0xFFFFFFFFu - 30000;  // wraps during the test
  const Step steps[] = {
      {0, "stranger", true},      {0, "stranger", false}, {1000, "other", true},
      {58999, "stranger", false},  // 59,999 ms after its answer
      {1, "stranger", true},      {0, "other", false},    {1000, "other", true},
      {58999, "stranger", false}, {1, "stranger", true},
  };
  int shown = 0;
  for (const Step& step : steps) {
    SCOPED_TRACE(testing::Message() << step.sender << " at " << f.fakes.clock.now + step.advanceMs);
    f.fakes.clock.now += step.advanceMs;
    f.Writes().clear();
    Message(step.sender, "hello bot");
    EXPECT_EQ(f.Writes().size(), step.answered ? 1u : 0u);
    EXPECT_EQ(BotMessagesTo(step.sender), step.answered ? 1 : 0);
    EXPECT_EQ(PrivateMessagesShown(), ++shown);
  }
}

// The operators chat relays what operators write; answering it would talk
// to every operator. Its messages are shown and never answered, and they do
// not use up the answer of that nick.
TEST_F(BotMessageTest, TheOperatorsChatNickGetsNoBotMessage) {
  f.control(ctl::kOpChatEdit).SetText("OpChat");
  Message("OpChat", "<op> hello all");
  Message("opchat", "hi");  // compared exactly: another nick
  EXPECT_EQ(BotMessagesTo("OpChat"), 0);
  EXPECT_EQ(BotMessagesTo("opchat"), 1);
  EXPECT_EQ(PrivateMessagesShown(), 2);

  f.control(ctl::kOpChatEdit).SetText("");
  Message("OpChat", "hi");
  EXPECT_EQ(BotMessagesTo("OpChat"), 1);
}

TEST(RecentRecipientsTest, RemembersOnlyTheSendersOfTheLastInterval) {
  RecentRecipients recent(60000);
  for (int i = 0; i < 100; ++i) {
    EXPECT_TRUE(recent.Take("user" + std::to_string(i), static_cast<std::uint32_t>(i * 100)));
  }
  EXPECT_EQ(recent.Size(), 100u);
  EXPECT_FALSE(recent.Take("user99", 60000));
  EXPECT_EQ(recent.Size(), 99u) << "user0, sent at 0, is forgotten at 60000";

  EXPECT_TRUE(recent.Take("late", 200000));
  EXPECT_EQ(recent.Size(), 1u);
  EXPECT_TRUE(recent.Take("user0", 200000));
  EXPECT_EQ(recent.Size(), 2u);
}

}  // namespace
}  // namespace varnek
