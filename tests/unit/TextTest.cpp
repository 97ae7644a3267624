#include <gtest/gtest.h>

#include <limits>

#include "core/text/Ascii.h"
#include "core/text/Format.h"
#include "core/text/Integer.h"
#include "core/text/Mnemonics.h"
#include "core/text/Strings.h"

namespace varnek {
namespace {

TEST(FormatMessage, FillsPlaceholdersInOrderAndKeepsOtherPercents) {
  EXPECT_EQ(FormatMessage("*** %s is a clone of %s", {"bob", "al"}), "*** bob is a clone of al");
  EXPECT_EQ(FormatMessage("100% %s", {"sure"}), "100% sure");
  EXPECT_EQ(FormatMessage("no placeholder", {"ignored"}), "no placeholder");
  EXPECT_EQ(FormatMessage("%s%s", {"a", "%s"}), "a%s");
}

TEST(FormatMessage, MorePlaceholdersThanArgumentsIsAnError) {
  EXPECT_THROW(FormatMessage("%s and %s", {"one"}), FormatError);
  EXPECT_THROW(FormatMessage("%s", {}), FormatError);
}

TEST(ReplaceAll, ReplacesEveryOccurrenceWithoutRescanning) {
  EXPECT_EQ(ReplaceAll("a&#36;b&#36;", "&#36;", "$"), "a$b$");
  EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
}

struct IntegerCase {
  const char* text;
  std::optional<std::int64_t> as32;
  std::optional<std::int64_t> as64;
};

TEST(IntegerReading, FollowsTheProgramRule) {
  const std::int64_t max32 = std::numeric_limits<std::int32_t>::max();
  const std::int64_t min32 = std::numeric_limits<std::int32_t>::min();
  const IntegerCase cases[] = {
      {"42", 42, 42},
      {"  42", 42, 42},
      {"+7", 7, 7},
      {"-7", -7, -7},
      {"050", 50, 50},
      {"$1F", 31, 31},
      {"x1f", 31, 31},
      {"X10", 16, 16},
      {"0x10", 16, 16},
      {"0X10", 16, 16},
      {"-$10", -16, -16},
      {"2147483647", max32, max32},
      {"-2147483648", min32, min32},
      {"2147483648", std::nullopt, 2147483648LL},
      {"9223372036854775807", std::nullopt, std::numeric_limits<std::int64_t>::max()},
      {"9223372036854775808", std::nullopt, std::nullopt},
      {"-9223372036854775808", std::nullopt, std::numeric_limits<std::int64_t>::min()},
      {"", std::nullopt, std::nullopt},
      {"   ", std::nullopt, std::nullopt},
      {"-", std::nullopt, std::nullopt},
      {"$", std::nullopt, std::nullopt},
      {"0x", std::nullopt, std::nullopt},
      {"12 ", std::nullopt, std::nullopt},
      {"1.5", std::nullopt, std::nullopt},
      {"abc", std::nullopt, std::nullopt},
      {"\t5", std::nullopt, std::nullopt},
      {"+-5", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    auto got32 = ReadInt32(c.text);
    EXPECT_EQ(got32 ? std::optional<std::int64_t>(*got32) : std::nullopt, c.as32) << '"' << c.text << '"';
    EXPECT_EQ(ReadInt64(c.text), c.as64) << '"' << c.text << '"';
  }
}

TEST(AsciiCase, FoldsOnlyAsciiLetters) {
  EXPECT_TRUE(AsciiEqualsIgnoreCase("LangExit", "langexit"));
  EXPECT_FALSE(AsciiEqualsIgnoreCase("\xC4", "\xE4"));
  EXPECT_LT(AsciiCompareIgnoreCase("<a>", "<B>"), 0);
  EXPECT_LT(AsciiCompareIgnoreCase("<B>", "<c>"), 0);
  EXPECT_LT(AsciiCompareIgnoreCase("ab", "abc"), 0);
  EXPECT_EQ(AsciiCompareIgnoreCase("ABC", "abc"), 0);
  // Bytes compare unsigned: a high byte sorts after every ASCII letter.
  EXPECT_GT(AsciiCompareIgnoreCase("\xE4", "z"), 0);
  // Letters fold to upper case, so '_' (between the cases in ASCII) sorts after them.
  EXPECT_LT(AsciiCompareIgnoreCase("A", "_"), 0);
}

TEST(Mnemonics, LeavesOutTheMarksAsTheToolkitReadsThem) {
  const struct {
    const char* caption;
    const char* text;
  } cases[] = {
      {"&Connect", "Connect"},
      {"Dis&connect", "Disconnect"},
      {"Load &default commands", "Load default commands"},
      {"Q&&A", "Q&A"},  // "&&" is an ampersand of the text
      {"&&&x", "&x"},
      {"&\xDC"
       "ber",
       "\xDC"
       "ber"},  // a mark before a high byte of the code page
      {"Ends with &", "Ends with &"},
      {"No mark", "No mark"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WithoutMnemonic(c.caption), c.text) << '"' << c.caption << '"';
  }
}

}  // namespace
}  // namespace varnek
