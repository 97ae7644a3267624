#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/text/InputErrors.h"
#include "core/users/Pattern.h"

namespace varnek {
namespace {

TEST(EscapeMaskChars, ReplacesTheFiveMaskCharacters) {
  EXPECT_EQ(EscapeMaskChars("[]?%-"), "$0|$1|$2|$3|$4|");
  EXPECT_EQ(EscapeMaskChars("[ISP]-nick?100%"), "$0|ISP$1|$4|nick$2|100$3|");
  EXPECT_EQ(EscapeMaskChars("plain *nick* $|"), "plain *nick* $|");
  EXPECT_EQ(EscapeMaskChars(""), "");
}

struct MatchCase {
  std::string pattern;
  std::string value;
  bool matches;
};

TEST(MatchesPattern, FollowsTheWildcardRule) {
  const MatchCase cases[] = {
      {"*bot*", "MyBot", true},
      {"*bot*", "bot", true},
      {"*bot*", "bo-t", false},
      {"a?c", "a?c", true},
      {"a?c", "abc", false},
      {"[x]", "[x]", true},
      {"[x]", "[X]", true},
      {"[x]", "x", false},
      {"Admin", "admin", true},
      {"Admin", "ADMIN", true},
      {"Admin", "Admins", false},
      {"Admin", "Admi", false},
      {"\xC4", "\xE4", false},
      {"\xC4", "\xC4", true},
      {"192.168.*", "192.168.0.10", true},
      {"192.168.*", "10.192.168.1", false},
      {"*", "", true},
      {"*", "anything at all", true},
      {"***", "", true},
      {"", "", true},
      {"", "a", false},
      {"a", "", false},
      // A "*" spans a whole escape code, and a pattern digit matches the digit
      // inside one: "a[" is "a$0|" once escaped.
      {"a*0*", "a[", true},
      {"a$0|", "a[", true},
      {"a*|", "a]", true},
      {"a*", "a-", true},
      // Only ASCII letters fold: "@" and "`" sit next to "A" and "a".
      {"@", "`", false},
      // Needs a "*" to take more than its first fit.
      {"*ab*abc", "xabyabababc", true},
      {"*a*b*c", "cbacbacb", false},
      {"a*b*c", "abcbc", true},
      {"a*b*c", "abcb", false},
      {"*.*.*.*", "10.0.0.1", true},
      {"*.*.*.*", "10.0.0", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchesPattern(c.value, c.pattern), c.matches)
        << "pattern \"" << c.pattern << "\" value \"" << c.value << '"';
  }
}

// The rule written out as plain dynamic programming over the escaped texts:
// reachable[j] says whether the pattern read so far can cover value[0, j).
bool ReferenceMatch(const std::string& value, const std::string& pattern) {
  const std::string v = EscapeMaskChars(value);
  const std::string p = EscapeMaskChars(pattern);
  auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
  std::vector<bool> reachable(v.size() + 1, false);
  reachable[0] = true;
  for (char pc : p) {
    std::vector<bool> next(v.size() + 1, false);
    for (std::size_t j = 0; j <= v.size(); ++j) {
      if (pc == '*') {
        next[j] = reachable[j] || (j > 0 && next[j - 1]);
      } else {
        next[j] = j > 0 && reachable[j - 1] && fold(pc) == fold(v[j - 1]);
      }
    }
    reachable = next;
  }
  return reachable[v.size()];
}

TEST(MatchesPattern, AgreesWithTheRuleOnRandomTexts) {
  // A small alphabet with mask characters, digits that occur inside escape
  // codes, both cases of one letter and "*" (a plain byte in a value) makes near
  // misses common.
  const std::string alphabet = "aAb[-0|$*";
  std::mt19937 random(20240611);
  auto randomText = [&](std::size_t maxLength) {
    std::string text(random() % (maxLength + 1), ' ');
    for (char& c : text) {
      c = alphabet[random() % alphabet.size()];
    }
    return text;
  };
  for (int i = 0; i < 20000; ++i) {
    const std::string pattern = randomText(8);
    const std::string value = randomText(10);
    ASSERT_EQ(MatchesPattern(value, pattern), ReferenceMatch(value, pattern))
        << "pattern \"" << pattern << "\" value \"" << value << '"';
  }
}

std::string StarRuns(int runs, const std::string& separator) {
  std::string pattern;
  for (int i = 0; i < runs; ++i) {
    pattern += i % 2 == 0 ? "*" : "**";
    pattern += separator;
  }
  return pattern;
}

TEST(MatchesPattern, AtMostThirtyRunsOfStars) {
  const std::string thirty = StarRuns(30, "a");
  EXPECT_TRUE(MatchesPattern(std::string(30, 'a'), thirty));
  EXPECT_FALSE(MatchesPattern(std::string(29, 'a'), thirty));
  // The limit holds even when the value could never match or is empty.
  EXPECT_THROW(MatchesPattern(std::string(31, 'a'), StarRuns(31, "a")), AbandonedCommandError);
  EXPECT_THROW(MatchesPattern("", StarRuns(31, "-")), AbandonedCommandError);
  EXPECT_NO_THROW(MatchesPattern("x", std::string(100, '*')));
}

TEST(MatchesPattern, AdversarialPatternFinishesQuickly) {
  // Thirty runs that each can take almost the whole value and a last byte that
  // never matches: exponential backtracking would never come back from this.
  std::string pattern;
  for (int i = 0; i < 29; ++i) {
    pattern += "*a";
  }
  pattern += "*b";
  EXPECT_FALSE(MatchesPattern(std::string(10000, 'a'), pattern));
  EXPECT_TRUE(MatchesPattern(std::string(10000, 'a') + "b", pattern));
}

}  // namespace
}  // namespace varnek
