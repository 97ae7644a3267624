#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "core/store/LangTable.h"
#include "core/users/UserTexts.h"

namespace varnek {
namespace {

TEST(FormatShareSize, UsesTheLargestUnitThatRoundsToAtLeastOne) {
  const struct {
    std::int64_t bytes;
    const char* text;
  } cases[] = {
      {0, "0 B"},
      {1000, "1000 B"},
      {1018, "1018 B"},  // 0.994 rounds to 0.99, not enough
      {1019, "1 KiB"},   // 0.995 rounds to 1.00
      {1023, "1 KiB"},
      {1536, "1.5 KiB"},
      {1048576 - 1, "1 MiB"},
      {1073741823, "1 GiB"},
      {123456789012, "114.98 GiB"},
      {1649267441664, "1.5 TiB"},
      {std::int64_t{1} << 50, "1 PiB"},
      {(std::int64_t{1} << 60) + (std::int64_t{1} << 59), "1.5 EiB"},
      {std::numeric_limits<std::int64_t>::max(), "8 EiB"},
      {-5, "-5 B"},
      {-1536, "-1536 B"},
      {std::numeric_limits<std::int64_t>::min(), "-9223372036854775808 B"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatShareSize(c.bytes), c.text) << c.bytes;
  }
}

TEST(FormatShareSize, RoundsHalvesToEven) {
  // 1.125 and 1.375 are exact in binary; to two places they go to the even
  // neighbour, 1.12 and 1.38.
  EXPECT_EQ(FormatShareSize(1152), "1.12 KiB");
  EXPECT_EQ(FormatShareSize(1408), "1.38 KiB");
}

// The text as a floating-point printer gives it: the quotient rounded to
// hundredths, halves to even, in the shortest general form with at most 15
// significant digits.
std::string PrintedShareSize(std::int64_t bytes) {
  static const char* const kSuffixes[] = {" EiB", " PiB", " TiB", " GiB", " MiB", " KiB"};
  for (int unit = 0; unit < 6; ++unit) {
    const double rounded = std::nearbyint(static_cast<double>(bytes) / std::ldexp(1.0, 60 - 10 * unit) / 0.01) * 0.01;
    if (rounded > 0.99) {
      char buffer[32];
      const auto end = std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::general, 15).ptr;
      return std::string(buffer, end) + kSuffixes[unit];
    }
  }
  return std::to_string(bytes) + " B";
}

TEST(FormatShareSize, GivesThePrintedTextForEveryHundredth) {
  // Every hundredth a unit can show, met from both sides, in KiB (the texts
  // do not depend on the unit), and sizes spread over the whole range.
  for (std::int64_t hundredths = 99; hundredths <= 102400; ++hundredths) {
    const std::int64_t bytes = hundredths * 1024 / 100;
    for (std::int64_t near = bytes - 1; near <= bytes + 1; ++near) {
      ASSERT_EQ(FormatShareSize(near), PrintedShareSize(near)) << near;
    }
  }
  std::mt19937_64 random(5);
  for (int i = 0; i < 200000; ++i) {
    const auto bytes = static_cast<std::int64_t>(random() >> (random() % 64));
    ASSERT_EQ(FormatShareSize(bytes), PrintedShareSize(bytes)) << bytes;
  }
}

TEST(UserTexts, ModeTextNamesOnlyTheThreeExactModes) {
  const LangTable lang;
  EXPECT_EQ(ModeText("A", lang), "Active");
  EXPECT_EQ(ModeText("P", lang), "Passive");
  EXPECT_EQ(ModeText("5", lang), "Proxy");
  for (const char* other : {"", "a", "AP", "A ", "++ V:"}) {
    EXPECT_EQ(ModeText(other, lang), "Unknown") << '"' << other << '"';
  }
}

TEST(UserTexts, StatusTextByValue) {
  const LangTable lang;
  const char* const expected[] = {"Unknown",       "Normal",        "Away",        "Away",     "Server",
                                  "Server",        "Server away",   "Server away", "Fireball", "Fireball",
                                  "Fireball away", "Fireball away", "Unknown"};
  for (int status = 0; status <= 12; ++status) {
    EXPECT_EQ(StatusText(static_cast<std::uint8_t>(status), lang), expected[status]) << status;
  }
  EXPECT_EQ(StatusText(0x11, lang), "Unknown");
  EXPECT_EQ(StatusText(255, lang), "Unknown");
}

TEST(UserTexts, TextsComeFromTheCurrentLanguageTable) {
  LangTable lang;
  lang.SetText(LangActive, "Aktiv");
  lang.SetText(LangUnknown, "Unbekannt");
  lang.SetText(LangFireballAway, "Feuerball weg");
  EXPECT_EQ(ModeText("A", lang), "Aktiv");
  EXPECT_EQ(ModeText("x", lang), "Unbekannt");
  EXPECT_EQ(StatusText(11, lang), "Feuerball weg");
  EXPECT_EQ(StatusText(0, lang), "Unbekannt");
}

}  // namespace
}  // namespace varnek
