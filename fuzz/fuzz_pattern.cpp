// MatchesPattern against a plain reference: both texts escaped by a table of
// their own, then matched by dynamic programming over every way of giving runs
// of the value to the "*"s. Input: the value, a 0 byte, the pattern (without a
// 0 byte the whole input is the value and the pattern is empty).
//
// The pattern text cut at each line feed is also a pattern list: the compiled
// list must name the same first match as the reference tried row by row, and
// throw exactly when the reference reaches a pattern with too many runs of "*"
// before any match.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "core/text/InputErrors.h"
#include "core/users/Pattern.h"
#include "core/users/PatternList.h"

namespace {

using varnek::fuzz::Fail;

// Long inputs only make the quadratic reference slow; they find nothing new.
constexpr std::size_t kMaxInput = 2048;

std::string ReferenceEscape(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '[':
        escaped += "$0|";
        break;
      case ']':
        escaped += "$1|";
        break;
      case '?':
        escaped += "$2|";
        break;
      case '%':
        escaped += "$3|";
        break;
      case '-':
        escaped += "$4|";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// matched[j]: the value's first i bytes match the pattern's first j bytes.
bool ReferenceMatch(const std::string& value, const std::string& pattern) {
  std::vector<char> matched(pattern.size() + 1, 0);
  matched[0] = 1;
  for (std::size_t j = 1; j <= pattern.size(); ++j) {
    matched[j] = static_cast<char>(matched[j - 1] && pattern[j - 1] == '*');
  }
  for (std::size_t i = 1; i <= value.size(); ++i) {
    char diagonal = matched[0];  // the row above, one column to the left
    matched[0] = 0;
    for (std::size_t j = 1; j <= pattern.size(); ++j) {
      const char above = matched[j];
      if (pattern[j - 1] == '*') {
        matched[j] = static_cast<char>(above || matched[j - 1]);
      } else {
        matched[j] = static_cast<char>(diagonal && Lower(pattern[j - 1]) == Lower(value[i - 1]));
      }
      diagonal = above;
    }
  }
  return matched[pattern.size()] != 0;
}

std::size_t StarRuns(std::string_view pattern) {
  std::size_t runs = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '*' && (i == 0 || pattern[i - 1] != '*')) {
      ++runs;
    }
  }
  return runs;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find('\n', start);
    lines.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) {
      return lines;
    }
    start = end + 1;
  }
}

// -1 for no match, -2 when the scan reaches a pattern it must refuse.
int ReferenceFirstMatch(const std::vector<std::string>& patterns, std::string_view value) {
  const std::string escapedValue = ReferenceEscape(value);
  for (std::size_t i = 0; i < patterns.size(); ++i) {
    if (StarRuns(patterns[i]) > varnek::kMaxPatternStarRuns) {
      return -2;
    }
    if (ReferenceMatch(escapedValue, ReferenceEscape(patterns[i]))) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

void CheckCompiledList(std::string_view value, std::string_view patternText) {
  const std::vector<std::string> patterns = SplitLines(patternText);
  varnek::CompiledPatterns compiled(patterns);
  int found = -1;
  try {
    found = compiled.FirstMatch(value);
  } catch (const varnek::AbandonedCommandError&) {
    found = -2;
  }
  if (found != ReferenceFirstMatch(patterns, value)) {
    Fail("the compiled list answered differently from the reference");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) {
    return 0;
  }
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t zero = input.find('\0');
  const std::string_view value = input.substr(0, zero);
  const std::string_view pattern = zero == std::string_view::npos ? std::string_view() : input.substr(zero + 1);

  CheckCompiledList(value, pattern);

  bool matched = false;
  try {
    matched = varnek::MatchesPattern(value, pattern);
  } catch (const varnek::AbandonedCommandError&) {
    if (StarRuns(pattern) <= varnek::kMaxPatternStarRuns) {
      Fail("a pattern with few enough runs of * was refused");
    }
    return 0;
  }
  if (StarRuns(pattern) > varnek::kMaxPatternStarRuns) {
    Fail("a pattern with too many runs of * was matched");
  }
  if (matched != ReferenceMatch(ReferenceEscape(value), ReferenceEscape(pattern))) {
    Fail(matched ? "matched where the reference does not" : "missed a match the reference finds");
  }
  if (varnek::EscapeMaskChars(value) != ReferenceEscape(value)) {
    Fail("escaped differently from the reference");
  }
  return 0;
}
