#include "core/text/Integer.h"

#include <limits>

namespace varnek {
namespace {

int DigitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') {
    value = c - '0';
  } else if (c >= 'a' && c <= 'f') {
    value = c - 'a' + 10;
  } else if (c >= 'A' && c <= 'F') {
    value = c - 'A' + 10;
  }
  return value < base ? value : -1;
}

// Reads the magnitude as unsigned and checks it against the signed limit of
// the target width, so that "-2147483648" fits and "2147483648" does not.
std::optional<std::int64_t> ReadBounded(std::string_view text, std::uint64_t positiveLimit) {
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') {
    ++pos;
  }
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
    negative = text[pos] == '-';
    ++pos;
  }
  int base = 10;
  std::string_view rest = text.substr(pos);
  if (rest.starts_with("0x") || rest.starts_with("0X")) {
    base = 16;
    pos += 2;
  } else if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')) {
    base = 16;
    pos += 1;
  }
  if (pos >= text.size()) {
    return std::nullopt;
  }
  const std::uint64_t limit = negative ? positiveLimit + 1 : positiveLimit;
  std::uint64_t magnitude = 0;
  for (; pos < text.size(); ++pos) {
    int digit = DigitValue(text[pos], base);
    if (digit < 0) {
      return std::nullopt;
    }
    if (magnitude > (limit - static_cast<std::uint64_t>(digit)) / static_cast<std::uint64_t>(base)) {
      return std::nullopt;
    }
    magnitude = magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
  }
  if (!negative) {
    return static_cast<std::int64_t>(magnitude);
  }
  if (magnitude == positiveLimit + 1) {
    return positiveLimit == static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())
               ? std::numeric_limits<std::int64_t>::min()
               : -static_cast<std::int64_t>(magnitude);
  }
  return -static_cast<std::int64_t>(magnitude);
}

}  // namespace

std::optional<std::int32_t> ReadInt32(std::string_view text) {
  auto value = ReadBounded(text, static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()));
  if (!value) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(*value);
}

std::optional<std::int64_t> ReadInt64(std::string_view text) {
  return ReadBounded(text, static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()));
}

}  // namespace varnek
