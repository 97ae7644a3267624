#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/model/Ports.h"
#include "qt/QtClock.h"

namespace varnek {

// A tick count that stands still until it is stepped. A step runs the
// program's timer for every whole interval of the real timer that passes on
// the way, each time with the tick count at that moment, so the bot sees
// stepped time exactly as it sees real time, only without waiting for it. The
// time texts are the system's.
class SteppedClock : public Clock {
 public:
  // The interval of the headless program's real timer.
  static constexpr std::uint64_t kTimerIntervalMs = 1000;

  explicit SteppedClock(std::uint32_t start) : start_(start) {}

  std::uint32_t TickCount() const override { return static_cast<std::uint32_t>(start_ + elapsed_); }
  std::string LocalTimeText() const override { return system_.LocalTimeText(); }
  std::string LocalDateText() const override { return system_.LocalDateText(); }

  // Moves the tick count on by `milliseconds`; the 32-bit count wraps as the
  // system's does.
  void Step(std::uint64_t milliseconds, const std::function<void()>& timerTick) {
    const std::uint64_t target = elapsed_ + milliseconds;
    while (nextTimerTick_ <= target) {
      elapsed_ = nextTimerTick_;
      nextTimerTick_ += kTimerIntervalMs;
      timerTick();
    }
    elapsed_ = target;
  }

 private:
  QtClock system_;
  std::uint64_t start_;
  std::uint64_t elapsed_ = 0;  // since the start, never wrapping
  std::uint64_t nextTimerTick_ = kTimerIntervalMs;
};

}  // namespace varnek
