#include "core/users/UserTexts.h"

#include <charconv>
#include <cmath>

namespace varnek {
namespace {

struct ShareUnit {
  int shift;
  const char* suffix;
};

constexpr ShareUnit kShareUnits[] = {
    {60, " EiB"}, {50, " PiB"}, {40, " TiB"}, {30, " GiB"}, {20, " MiB"}, {10, " KiB"},
};

// Two decimals, halves to the even neighbour. nearbyint follows the current
// rounding mode, which this program never changes from round-to-nearest.
double RoundToHundredths(double value) {
  return std::nearbyint(value / 0.01) * 0.01;
}

// The shortest general form with at most 15 significant digits. to_chars never
// looks at the locale, so the separator stays "." whatever the front end set.
std::string ShortDecimal(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string FormatShareSize(std::int64_t bytes) {
  for (const ShareUnit& unit : kShareUnits) {
    const double rounded = RoundToHundredths(static_cast<double>(bytes) / std::ldexp(1.0, unit.shift));
    if (rounded > 0.99) {
      return ShortDecimal(rounded) + unit.suffix;
    }
  }
  return std::to_string(bytes) + " B";
}

std::string ModeText(std::string_view mode, const LangTable& lang) {
  if (mode == "A") {
    return lang.Text(LangActive);
  }
  if (mode == "P") {
    return lang.Text(LangPassive);
  }
  if (mode == "5") {
    return lang.Text(LangProxy);
  }
  return lang.Text(LangUnknown);
}

std::string StatusText(std::uint8_t status, const LangTable& lang) {
  switch (status) {
    case 1:
      return lang.Text(LangNormal);
    case 2:
    case 3:
      return lang.Text(LangAway);
    case 4:
    case 5:
      return lang.Text(LangServer);
    case 6:
    case 7:
      return lang.Text(LangServerAway);
    case 8:
    case 9:
      return lang.Text(LangFireball);
    case 10:
    case 11:
      return lang.Text(LangFireballAway);
    default:
      return lang.Text(LangUnknown);
  }
}

}  // namespace varnek
