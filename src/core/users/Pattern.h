#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace varnek {

// A pattern may hold at most this many separate runs of "*".
constexpr std::size_t kMaxPatternStarRuns = 30;

// Replaces "[", "]", "?", "%" and "-" by the three-byte codes "$0|" to "$4|".
// Values and patterns are both escaped this way before they are matched, so
// those characters only ever match themselves.
std::string EscapeMaskChars(std::string_view text);

// The one wildcard rule of every pattern list: "*" matches any run of bytes,
// every other byte matches one equal byte (ASCII letters without regard to
// case), and the whole value must be covered. Both sides are compared in their
// escaped form. Throws AbandonedCommandError for a pattern with more than
// kMaxPatternStarRuns runs of "*". Runs in O(pattern x value) at worst.
bool MatchesPattern(std::string_view value, std::string_view pattern);

// The first pattern of a list that the value matches, tried in list order,
// or nullptr: the scan of the protected, allowed and forbidden lists. Each
// pattern is tried in turn; lists matched against every user are compiled
// once instead (PatternList.h).
const std::string* FirstMatchingPattern(const std::vector<std::string>& patterns, std::string_view value);

// The building blocks of MatchesPattern, for the compiled pattern lists.

// The text itself when it holds no mask character, else its escaped form
// written into the buffer.
std::string_view EscapeMaskCharsInto(std::string_view text, std::string& buffer);
// The number of separate runs of "*"; escaping does not change it.
std::size_t CountStarRuns(std::string_view pattern);
// The wildcard rule on texts that are both escaped already, without the
// limit on runs of "*".
bool MatchesEscapedPattern(std::string_view escapedValue, std::string_view escapedPattern);
// The error of a pattern with more than kMaxPatternStarRuns runs of "*".
[[noreturn]] void ThrowInvalidPattern(std::string_view pattern);

}  // namespace varnek
