#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace varnek {

// The integer reading rule of the program: leading blanks are skipped, then an
// optional "-" or "+", then decimal digits, or hexadecimal digits after a "$",
// "x", "X", "0x" or "0X" prefix. At least one digit is needed, nothing may
// follow the digits, and the value must fit the target width.
std::optional<std::int32_t> ReadInt32(std::string_view text);
std::optional<std::int64_t> ReadInt64(std::string_view text);

}  // namespace varnek
