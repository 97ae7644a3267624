#pragma once

#include <string>
#include <string_view>

namespace varnek {

// Only the ASCII letters a-z and A-Z fold; every other byte compares exactly.
constexpr char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string AsciiLowerCopy(std::string_view text);
bool AsciiEqualsIgnoreCase(std::string_view a, std::string_view b);

// Negative, zero or positive like strcmp; bytes compare as unsigned, a prefix
// sorts before the longer text. Letters fold to upper case, so "_" sorts after
// the letters as it always has in the lists.
int AsciiCompareIgnoreCase(std::string_view a, std::string_view b);

}  // namespace varnek
