#include "core/text/SizeOrder.h"

#include <cmath>
#include <cstddef>

#include "core/text/Ascii.h"

namespace varnek {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The power of 1024 of a unit's first letter: K, M, G, T, P, E; B or none is 0.
int UnitPower(std::string_view rest) {
  std::size_t at = 0;
  while (at < rest.size() && rest[at] == ' ') {
    ++at;
  }
  if (at == rest.size()) {
    return 0;
  }
  constexpr std::string_view kPrefixes = "KMGTPE";
  const std::size_t power = kPrefixes.find(AsciiUpper(rest[at]));
  return power == std::string_view::npos ? 0 : static_cast<int>(power) + 1;
}

}  // namespace

std::optional<long double> SizeValue(std::string_view text) {
  std::size_t at = 0;
  const bool negative = at < text.size() && text[at] == '-';
  if (negative) {
    ++at;
  }
  if (at == text.size() || !IsDigit(text[at])) {
    return std::nullopt;
  }
  long double value = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    value = value * 10 + (text[at] - '0');
  }
  if (at + 1 < text.size() && text[at] == '.' && IsDigit(text[at + 1])) {
    long double scale = 1;
    for (++at; at < text.size() && IsDigit(text[at]); ++at) {
      scale /= 10;
      value += scale * (text[at] - '0');
    }
  }
  value = std::ldexp(value, 10 * UnitPower(text.substr(at)));
  return negative ? -value : value;
}

int CompareSizes(std::string_view a, std::string_view b) {
  const std::optional<long double> x = SizeValue(a);
  const std::optional<long double> y = SizeValue(b);
  if (x.has_value() != y.has_value()) {
    return x.has_value() ? 1 : -1;
  }
  if (x && *x != *y) {
    return *x < *y ? -1 : 1;
  }
  return AsciiCompareIgnoreCase(a, b);
}

}  // namespace varnek
