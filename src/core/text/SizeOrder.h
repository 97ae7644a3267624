#pragma once

#include <optional>
#include <string_view>

namespace varnek {

// Which way a list is sorted by a click on its header.
enum class SortDirection { Ascending, Descending };

// The number of bytes a size text stands for, as the lists show sizes: a
// number with an optional fraction, then an optional binary unit ("1.5 GiB",
// "1536 B", "100 KiB/s"), or the digits a share pattern begins with ("1536*").
// None for a text that does not begin with a number.
std::optional<long double> SizeValue(std::string_view text);

// Orders two size texts by their value, texts without one first; equal values
// compare by the lists' text rule, so the order is total.
int CompareSizes(std::string_view a, std::string_view b);

}  // namespace varnek
