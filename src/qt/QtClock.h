#pragma once

#include <QElapsedTimer>
#include <cstdint>
#include <string>

#include "core/model/Ports.h"

namespace varnek {

// The system's millisecond tick count and the local time texts.
//
// Every pane line asks for the time texts, and making them asks the C
// library for the local time zone, which glibc looks up on disk (a stat of
// /etc/localtime) each time when TZ is unset. The texts change once a
// second, so they are made once for each second of the system clock.
class QtClock : public Clock {
 public:
  QtClock();
  std::uint32_t TickCount() const override;
  std::string LocalTimeText() const override;
  std::string LocalDateText() const override;

 private:
  void MakeTextsForThisSecond() const;

  QElapsedTimer elapsed_;
  mutable std::int64_t textSecond_ = -1;  // seconds since 1970 the texts are for
  mutable std::string timeText_;
  mutable std::string dateText_;
};

}  // namespace varnek
