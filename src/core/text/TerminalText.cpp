#include "core/text/TerminalText.h"

#include <cstdint>
#include <cstring>

namespace varnek {
namespace {

constexpr std::uint64_t kEveryByte = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// Bytes below 0x20 and bytes above 0x7F (the classic "has a byte less than
// n" test, exact for the question whether there is one).
constexpr std::uint64_t ControlsOrHigh(std::uint64_t word) {
  const std::uint64_t below = (word - kEveryByte * 0x20) & ~word & kHighBits;
  const std::uint64_t del = word ^ (kEveryByte * 0x7F);
  const std::uint64_t isDel = (del - kEveryByte) & ~del & kHighBits;
  return below | isDel | (word & kHighBits);
}

// The UTF-8 lead byte of U+0080 to U+00BF; a C1 control follows it with a
// byte from 0x80 to 0x9F.
constexpr unsigned char kC1Lead = 0xC2;

}  // namespace

bool MayHoldTerminalControls(std::string_view utf8) {
  std::size_t at = 0;
  for (; at + 8 <= utf8.size(); at += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, utf8.data() + at, 8);
    if (ControlsOrHigh(word) != 0) {
      return true;
    }
  }
  for (; at < utf8.size(); ++at) {
    const auto byte = static_cast<unsigned char>(utf8[at]);
    if (byte < 0x20 || byte >= 0x7F) {
      return true;
    }
  }
  return false;
}

void AppendForTerminal(std::string& out, std::string_view utf8) {
  if (!MayHoldTerminalControls(utf8)) {
    out.append(utf8);
    return;
  }
  constexpr char kHexDigits[] = "0123456789abcdef";
  std::size_t plain = 0;  // the start of the bytes not yet appended
  for (std::size_t at = 0; at < utf8.size(); ++at) {
    const auto byte = static_cast<unsigned char>(utf8[at]);
    if ((byte < 0x20 && byte != '\t') || byte == 0x7F) {
      out.append(utf8.substr(plain, at - plain));
      out.append(1, '^').append(1, byte == 0x7F ? '?' : static_cast<char>(byte + 0x40));
      plain = at + 1;
    } else if (byte == kC1Lead && at + 1 < utf8.size()) {
      const auto next = static_cast<unsigned char>(utf8[at + 1]);
      if (next >= 0x80 && next <= 0x9F) {
        out.append(utf8.substr(plain, at - plain));
        out.append("\\x").append(1, kHexDigits[next >> 4]).append(1, kHexDigits[next & 0x0F]);
        plain = at + 2;
        ++at;
      }
    }
  }
  out.append(utf8.substr(plain));
}

}  // namespace varnek
