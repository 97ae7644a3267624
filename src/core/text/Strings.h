#pragma once

#include <string>
#include <string_view>

namespace varnek {

// Byte-string helpers. Texts are bytes in the hub's code page; every search is
// byte-exact and finds the first occurrence.

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

inline bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

inline bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// The text before the first occurrence of `mark`, or the whole text when it
// does not occur.
std::string_view BeforeOrWhole(std::string_view text, std::string_view mark);

// The text after the first occurrence of `mark`, or the whole text when it
// does not occur.
std::string_view AfterOrWhole(std::string_view text, std::string_view mark);

std::string ToDecimal(long long value);
std::string ToDecimal(unsigned long long value);
inline std::string ToDecimal(int value) {
  return ToDecimal(static_cast<long long>(value));
}
inline std::string ToDecimal(unsigned value) {
  return ToDecimal(static_cast<unsigned long long>(value));
}

}  // namespace varnek
