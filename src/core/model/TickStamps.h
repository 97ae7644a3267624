#pragma once

#include <cstdint>

namespace varnek {

// Program-wide tick stamps (32-bit milliseconds that wrap). Elapsed times are
// always taken as (now - stamp) in unsigned 32-bit arithmetic, which stays
// right across the wrap.
struct TickStamps {
  std::uint32_t start = 0;       // the bot's uptime is measured from here
  std::uint32_t disconnect = 0;  // the reconnect wait is measured from here
  std::uint32_t connect = 0;     // the login's time limit is measured from here
  std::uint32_t autosave = 0;    // the last settings save
  std::uint32_t tryInfo = 0;     // the last user information request pass
};

}  // namespace varnek
