#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/store/LangTable.h"

namespace varnek {

// Display texts of a user list row that are not copied from the $MyINFO as
// they stand.

// "1.5 KiB", "114.98 GiB", "1018 B": the largest binary unit in which the size
// rounds to at least 1.00, with up to two decimals and "." as separator.
std::string FormatShareSize(std::int64_t bytes);

// "A", "P" and "5" name the three connection modes; anything else is unknown.
std::string ModeText(std::string_view mode, const LangTable& lang);

// The status byte of the connection field: away, server and fireball flags.
std::string StatusText(std::uint8_t status, const LangTable& lang);

}  // namespace varnek
