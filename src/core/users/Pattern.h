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
// or nullptr: the scan of the protected, allowed and forbidden lists.
const std::string* FirstMatchingPattern(const std::vector<std::string>& patterns, std::string_view value);

}  // namespace varnek
