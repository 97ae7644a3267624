#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/model/ControlNames.h"
#include "core/model/StringListModel.h"
#include "core/text/InputErrors.h"
#include "core/users/Pattern.h"
#include "core/users/PatternList.h"

namespace varnek {
namespace {

using Patterns = std::vector<std::string>;

// What the plain scan answers: the index of the first pattern that matches,
// -1 for none, -2 when it throws.
int PlainScan(const Patterns& patterns, const std::string& value) {
  try {
    const std::string* hit = FirstMatchingPattern(patterns, value);
    return hit == nullptr ? -1 : static_cast<int>(hit - patterns.data());
  } catch (const AbandonedCommandError&) {
    return -2;
  }
}

int CompiledScan(CompiledPatterns& compiled, const std::string& value) {
  try {
    return compiled.FirstMatch(value);
  } catch (const AbandonedCommandError&) {
    return -2;
  }
}

struct ListCase {
  Patterns patterns;
  std::vector<std::string> values;
};

TEST(CompiledPatterns, AnswersLikeThePlainScan) {
  const ListCase cases[] = {
      // Pieces at the start, inside and at the end; numbered lists.
      {{"*badnick1*", "*badnick12*", "10.99.1*", "Admin", "*bot"},
       {"xbadnick12y", "BADNICK1", "badnick", "10.99.12", "10.99.2", "admin", "ADMIN", "Admins", "MyBot", "bots", ""}},
      // Mask characters in patterns and values, escape codes matched by "*"
      // or by a digit, "$" and "|" as plain bytes.
      {{"[x]", "a?c", "a*0*", "a$0|", "a*|", "*-hub*", "[ISP]*", "*%"},
       {"[x]", "[X]", "x", "a?c", "abc", "a[", "a]", "my-hub-1", "myhub", "[isp]nick", "ISPnick", "100%", "100"}},
      // Patterns without any literal, the empty pattern, runs of "*".
      {{"", "**", "a***b"}, {"", "a", "ab", "axxb"}},
      {{"a***b", "***"}, {"ab", "b", ""}},
      // Long literals (more than one word) and one that occurs twice.
      {{"*abcdefghijkl*", "*abcdefghijk*", "abcdefghijklmnop*"},
       {"abcdefghijklmnop", "xxABCDEFGHIJKxx", "abcdefghijk", "abcdefghij"}},
      {{"*ab*ab*", "*ab*"}, {"abab", "ab", "xabyab", "a"}},
      // Only ASCII letters fold.
      {{"\xC4*", "*@*", "`"}, {"\xC4x", "\xE4x", "a@b", "@", "`", "@x"}},
      // The same piece for several patterns: list order decides.
      {{"*spam*x", "*spam*", "*spam"}, {"spamx", "spam", "xspamy", "spa"}},
      // An empty list matches nothing.
      {{}, {"", "anything"}},
  };
  for (const ListCase& c : cases) {
    CompiledPatterns compiled(c.patterns);
    for (const std::string& value : c.values) {
      EXPECT_EQ(CompiledScan(compiled, value), PlainScan(c.patterns, value))
          << "value \"" << value << "\" against a list beginning \"" << (c.patterns.empty() ? "" : c.patterns[0])
          << '"';
    }
  }
}

std::string TooManyRuns() {
  std::string pattern;
  for (int i = 0; i < 31; ++i) {
    pattern += "*a";
  }
  return pattern;
}

TEST(CompiledPatterns, InvalidPatternThrowsWhereThePlainScanWould) {
  CompiledPatterns compiled({"*good*", TooManyRuns(), "*late*"});
  EXPECT_EQ(compiled.FirstMatch("a good one"), 0);  // matched before the broken pattern
  EXPECT_THROW(compiled.FirstMatch("nothing"), AbandonedCommandError);
  // A pattern behind the broken one is never the answer.
  EXPECT_THROW(compiled.FirstMatch("late"), AbandonedCommandError);
  CompiledPatterns first({TooManyRuns()});
  EXPECT_THROW(first.FirstMatch(""), AbandonedCommandError);
}

TEST(CompiledPatterns, AgreesWithThePlainScanOnRandomLists) {
  // A small alphabet with mask characters, the digits of escape codes, both
  // cases of a letter and "*" gives many near misses and shared pieces.
  const std::string alphabet = "aAbB[-0|$*";
  std::mt19937 random(77031);
  auto randomText = [&](std::size_t maxLength) {
    std::string text(random() % (maxLength + 1), ' ');
    for (char& c : text) {
      c = alphabet[random() % alphabet.size()];
    }
    return text;
  };
  for (int list = 0; list < 400; ++list) {
    Patterns patterns(random() % 12);
    for (std::string& pattern : patterns) {
      pattern = randomText(12);
    }
    CompiledPatterns compiled(patterns);
    for (int i = 0; i < 50; ++i) {
      const std::string value = randomText(16);
      ASSERT_EQ(CompiledScan(compiled, value), PlainScan(patterns, value)) << "value \"" << value << '"';
    }
  }
}

TEST(PatternList, FollowsEveryChangeOfItsList) {
  StringListModel rows(ctl::kKickNickListView);
  PatternList list(rows);
  EXPECT_EQ(list.FirstMatch("spammer"), -1);
  rows.Append("*spam*");
  EXPECT_EQ(list.FirstMatch("spammer"), 0);
  rows.SetAt(0, "*ham*");
  EXPECT_EQ(list.FirstMatch("spammer"), -1);
  rows.Assign({"z*", "*mer"});
  EXPECT_EQ(list.FirstMatch("spammer"), 1);
  rows.Sort();  // "*mer" sorts first
  EXPECT_EQ(list.FirstMatch("spammer"), 0);
  rows.RemoveAt(0);
  EXPECT_EQ(list.FirstMatch("spammer"), -1);
  rows.Clear();
  EXPECT_EQ(list.FirstMatch("zed"), -1);
}

}  // namespace
}  // namespace varnek
