#include "core/users/UserTexts.h"

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

// The size in hundredths of the unit, halves to the even neighbour.
// nearbyint follows the current rounding mode, which this program never
// changes from round-to-nearest.
double Hundredths(double value) {
  return std::nearbyint(value / 0.01);
}

// The hundredths as the shortest decimal: "114.98", "1.5", "8". This is the
// text of the double hundredths * 0.01 in the shortest general form with at
// most 15 significant digits, without asking a floating-point printer: the
// sizes shown stay below 10^6 hundredths, where that double is always the
// nearest one to the two-decimal number, so its 15 digits are that number's.
// Every row of a login flood gets one, so it is worth the care; like
// to_chars it never looks at the locale, so the separator stays ".".
std::string HundredthsText(std::int64_t hundredths) {
  std::string text = std::to_string(hundredths / 100);
  const auto cents = static_cast<int>(hundredths % 100);
  if (cents != 0) {
    text += '.';
    text += static_cast<char>('0' + cents / 10);
    if (cents % 10 != 0) {
      text += static_cast<char>('0' + cents % 10);
    }
  }
  return text;
}

}  // namespace

std::string FormatShareSize(std::int64_t bytes) {
  for (const ShareUnit& unit : kShareUnits) {
    const double hundredths = Hundredths(static_cast<double>(bytes) / std::ldexp(1.0, unit.shift));
    if (hundredths * 0.01 > 0.99) {
      // A bigger unit would have been taken above 1018.88 of this one.
      return HundredthsText(static_cast<std::int64_t>(hundredths)) + unit.suffix;
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
