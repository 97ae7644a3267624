#include "core/hub/LockToKey.h"

#include <cstdint>
#include <cstdio>

namespace varnek {
namespace {

std::string EscapeKeyByte(std::uint8_t byte) {
  switch (byte) {
    case 0:
    case 5:
    case 36:
    case 96:
    case 124:
    case 126: {
      char escape[11];
      std::snprintf(escape, sizeof escape, "/%%DCN%03u%%/", static_cast<unsigned>(byte));
      return escape;
    }
    default:
      return std::string(1, static_cast<char>(byte));
  }
}

std::uint8_t SwapNibbles(std::uint8_t b) {
  return static_cast<std::uint8_t>(((b << 4) | (b >> 4)) & 0xFF);
}

}  // namespace

std::string LockToKey(std::string_view lockParameters) {
  std::string_view lock = lockParameters.substr(0, lockParameters.find(" Pk"));
  const std::size_t n = lock.size();
  // The first key byte mixes in the last two lock bytes; a lock shorter than
  // that has none to mix in, so those that are missing count as zero.
  auto at = [&](std::size_t i) { return static_cast<std::uint8_t>(lock[i]); };
  std::string key;
  if (n == 0) {
    return key;
  }
  const std::uint8_t last = at(n - 1);
  const std::uint8_t beforeLast = n >= 2 ? at(n - 2) : 0;
  key += EscapeKeyByte(SwapNibbles(static_cast<std::uint8_t>(at(0) ^ last ^ beforeLast ^ 5)));
  for (std::size_t i = 1; i < n; ++i) {
    key += EscapeKeyByte(SwapNibbles(static_cast<std::uint8_t>(at(i) ^ at(i - 1))));
  }
  return key;
}

}  // namespace varnek
