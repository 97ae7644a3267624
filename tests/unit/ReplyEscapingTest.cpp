#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/commands/BotCommandTable.h"
#include "core/model/ControlNames.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

// A private message's text is unescaped before its command runs, so an
// argument can hold "|" and "$". Every reply that quotes it must still be one
// command on the wire: the rest would reach the hub as commands of the bot,
// sent with its operator rights.
constexpr std::string_view kInjection = "x&#124;$Kick zed&#124;<Guard> !ban zed";

bool TakesArgument(BotCommandKind kind) {
  switch (kind) {
    case BotCommandKind::Help:
    case BotCommandKind::Save:
    case BotCommandKind::List:
    case BotCommandKind::Hits:
      return false;
    case BotCommandKind::Switch:
    case BotCommandKind::Value:
    case BotCommandKind::Add:
    case BotCommandKind::Delete:
    case BotCommandKind::Info:
    case BotCommandKind::Test:
    case BotCommandKind::Why:
      return true;
  }
  return true;
}

struct Sender {
  const char* nick;
  bool isOperator;  // otherwise a plain user of the allowed users list
};

void PrintTo(const Sender& sender, std::ostream* out) {
  *out << sender.nick;
}

class ReplyEscapingTest : public ::testing::TestWithParam<Sender> {
 protected:
  ReplyEscapingTest() {
    f.LogIn("Guard");
    f.PlainLines();
    f.control(ctl::kAllowedCheckBox).SetChecked(true);
    f.controls().List(ctl::kAllowedListView).Append("Helper");
    f.AddOperator("Chief");
  }

  std::vector<std::string> Send(std::string_view words) {
    const std::string nick = GetParam().nick;
    f.Writes().clear();
    f.Receive("$To: Guard From: " + nick + " $<" + nick + "> " + std::string(words) + "|");
    return f.Writes();
  }

  test::BotFixture f;
};

TEST_P(ReplyEscapingTest, EveryCommandWithAnArgumentPutsExactlyOneCommandOnTheWire) {
  const std::string replyStart = "$To: " + std::string(GetParam().nick) + " From: Guard $<Guard> ";
  for (const BotCommand& command : BotCommandTable()) {
    if (!TakesArgument(command.kind)) {
      continue;
    }
    // The argument alone, and behind a word (where %test finds its pattern).
    for (const std::string& argument : {std::string(kInjection), "nick " + std::string(kInjection)}) {
      const std::string words = "%" + std::string(command.keyword) + " " + argument;
      const std::vector<std::string> writes = Send(words);
      ASSERT_EQ(writes.size(), 1u) << words;
      const std::string& write = writes.front();
      EXPECT_TRUE(write.starts_with(replyStart)) << words << "\n" << write;
      EXPECT_EQ(std::count(write.begin(), write.end(), '|'), 1) << words << "\n" << write;
      EXPECT_TRUE(write.ends_with("|")) << words << "\n" << write;
      EXPECT_EQ(write.find('$', replyStart.size()), std::string::npos) << words << "\n" << write;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Senders, ReplyEscapingTest, ::testing::Values(Sender{"Chief", true}, Sender{"Helper", false}),
                         [](const ::testing::TestParamInfo<Sender>& param) {
                           return std::string(param.param.isOperator ? "Operator" : "AllowedUser");
                         });

// The answers quote the argument as it was meant: escaped on the wire, so the
// hub's clients show "|" and "$" again.
TEST(ReplyEscaping, QuotedArgumentsAreEscapedAndBotTextsKept) {
  test::BotFixture f;
  f.LogIn("Guard");
  f.PlainLines();
  f.AddOperator("Chief");
  f.Writes().clear();
  f.Receive("$To: Guard From: Chief $<Chief> %info a&#124;b&#36;c|");
  f.Receive("$To: Guard From: Chief $<Chief> %addnick a&#124;b|");
  EXPECT_EQ(f.Writes(), (std::vector<std::string>{
                            "$To: Chief From: Guard $<Guard> Not found: a&#124;b&#36;c|",
                            "$To: Chief From: Guard $<Guard> This value can not containt following characters or "
                            "spaces (excluding spaces in description, email and tag patterns): &#36; &#124;|",
                        }));
}

}  // namespace
}  // namespace varnek
