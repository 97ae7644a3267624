#pragma once

#include <cstdint>
#include <string>

namespace varnek {

// The program has always cut elapsed time into a 999 ms second and a
// 59,940 ms minute (an hour is 3,596,400 ms, a day 86,313,600 ms); operators
// know its uptimes and schedules by these units, so they stay.
inline constexpr std::uint32_t kSecondMs = 999;
inline constexpr std::uint32_t kMinuteMs = 59940;
inline constexpr std::uint32_t kHourMs = 3596400;
inline constexpr std::uint32_t kDayMs = 86313600;

// Elapsed milliseconds from a stamp, right across the 32-bit wrap.
inline std::uint32_t Elapsed(std::uint32_t now, std::uint32_t stamp) {
  return now - stamp;
}

// Elapsed minutes of a stamp, modulo `cycle` (60 for the reconnect, 1440 for
// the schedules): the original rule, which a missed minute does not catch up.
inline std::uint32_t ElapsedMinutes(std::uint32_t now, std::uint32_t stamp, std::uint32_t cycle) {
  return (Elapsed(now, stamp) / kMinuteMs) % cycle;
}

// "days:hours:minutes:seconds" without leading zeros.
std::string UptimeText(std::uint32_t milliseconds);

}  // namespace varnek
