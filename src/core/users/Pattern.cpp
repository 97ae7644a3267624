#include "core/users/Pattern.h"

#include <array>

#include "core/text/Ascii.h"
#include "core/text/InputErrors.h"

namespace varnek {
namespace {

// Which bytes have an escape code; a table lookup per byte keeps the check
// cheap, as it runs on every value against every pattern.
constexpr std::array<bool, 256> kIsMaskChar = [] {
  std::array<bool, 256> table{};
  for (unsigned char c : std::string_view("[]?%-")) {
    table[c] = true;
  }
  return table;
}();

bool HasMaskChar(std::string_view text) {
  for (char c : text) {
    if (kIsMaskChar[static_cast<unsigned char>(c)]) {
      return true;
    }
  }
  return false;
}

// The codes contain none of the mask characters, so one pass gives the same
// text as replacing the five characters one after the other.
std::string_view EscapeCode(char c) {
  switch (c) {
    case '[':
      return "$0|";
    case ']':
      return "$1|";
    case '?':
      return "$2|";
    case '%':
      return "$3|";
    case '-':
      return "$4|";
    default:
      return {};
  }
}

void AppendEscaped(std::string& out, std::string_view text) {
  for (char c : text) {
    const std::string_view code = EscapeCode(c);
    if (code.empty()) {
      out.push_back(c);
    } else {
      out.append(code);
    }
  }
}

bool SameByte(char a, char b) {
  return AsciiLower(a) == AsciiLower(b);
}

// Greedy matching that remembers only the last "*": when a later segment
// fails, letting an earlier "*" take more bytes can never help, because the
// last "*" can take them just as well. That keeps the work at
// O(pattern x value) with no backtracking stack.
bool WildcardMatch(std::string_view value, std::string_view pattern) {
  std::size_t v = 0;
  std::size_t p = 0;
  std::size_t resumePattern = std::string_view::npos;  // just after the last "*" seen
  std::size_t resumeValue = 0;                         // where that "*"'s run ends so far
  while (v < value.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      resumePattern = ++p;
      resumeValue = v;
    } else if (p < pattern.size() && SameByte(pattern[p], value[v])) {
      ++p;
      ++v;
    } else if (resumePattern != std::string_view::npos) {
      p = resumePattern;
      v = ++resumeValue;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') {
    ++p;
  }
  return p == pattern.size();
}

}  // namespace

// Most nicks and patterns hold no mask character and are their own escaped
// form; only the others are copied, into a buffer that keeps its capacity.
std::string_view EscapeMaskCharsInto(std::string_view text, std::string& buffer) {
  if (!HasMaskChar(text)) {
    return text;
  }
  buffer.clear();
  AppendEscaped(buffer, text);
  return buffer;
}

// Escaping neither adds nor removes a "*", nor joins two runs, so the runs can
// be counted on the pattern as given.
std::size_t CountStarRuns(std::string_view pattern) {
  std::size_t runs = 0;
  char previous = '\0';
  for (char c : pattern) {
    if (c == '*' && previous != '*') {
      ++runs;
    }
    previous = c;
  }
  return runs;
}

bool MatchesEscapedPattern(std::string_view escapedValue, std::string_view escapedPattern) {
  return WildcardMatch(escapedValue, escapedPattern);
}

void ThrowInvalidPattern(std::string_view pattern) {
  throw AbandonedCommandError("Pattern with more than 30 runs of \"*\": " + std::string(pattern));
}

std::string EscapeMaskChars(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  AppendEscaped(result, text);
  return result;
}

bool MatchesPattern(std::string_view value, std::string_view pattern) {
  if (CountStarRuns(pattern) > kMaxPatternStarRuns) {
    ThrowInvalidPattern(pattern);
  }
  std::string valueBuffer;
  std::string patternBuffer;
  return WildcardMatch(EscapeMaskCharsInto(value, valueBuffer), EscapeMaskCharsInto(pattern, patternBuffer));
}

const std::string* FirstMatchingPattern(const std::vector<std::string>& patterns, std::string_view value) {
  for (const std::string& pattern : patterns) {
    if (MatchesPattern(value, pattern)) {
      return &pattern;
    }
  }
  return nullptr;
}

}  // namespace varnek
