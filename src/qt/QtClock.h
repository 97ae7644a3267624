#pragma once

#include <QElapsedTimer>

#include "core/ui/Ports.h"

namespace varnek {

// The system's millisecond tick count and the local time texts.
//
// For tests of the schedules, two environment variables shape the tick count
// (and nothing else): VARNEK_TEST_TICK_START starts it at a given value (near
// the 32-bit wrap, say) and VARNEK_TEST_CLOCK_SPEED makes it run that many
// times faster than real time.
class QtClock : public Clock {
 public:
  QtClock();
  std::uint32_t TickCount() const override;
  std::string LocalTimeText() const override;
  std::string LocalDateText() const override;

 private:
  QElapsedTimer elapsed_;
  bool shaped_ = false;
  std::uint64_t start_ = 0;
  std::uint64_t speed_ = 1;
};

}  // namespace varnek
