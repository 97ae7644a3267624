#include "core/hub/Uptime.h"

namespace varnek {

std::string UptimeText(std::uint32_t ms) {
  return std::to_string((ms / kDayMs) % 365) + ":" + std::to_string((ms / kHourMs) % 24) + ":" +
         std::to_string((ms / kMinuteMs) % 60) + ":" + std::to_string((ms / kSecondMs) % 60);
}

}  // namespace varnek
