#include "qt/QtClock.h"

#include <QDate>
#include <QLocale>
#include <QTime>
#include <algorithm>
#include <cstdlib>

namespace varnek {

QtClock::QtClock() {
  elapsed_.start();
  if (const char* start = std::getenv("VARNEK_TEST_TICK_START")) {
    shaped_ = true;
    start_ = std::strtoull(start, nullptr, 10);
  }
  if (const char* speed = std::getenv("VARNEK_TEST_CLOCK_SPEED")) {
    shaped_ = true;
    speed_ = std::max<std::uint64_t>(1, std::strtoull(speed, nullptr, 10));
    if (std::getenv("VARNEK_TEST_TICK_START") == nullptr) {
      start_ = static_cast<std::uint64_t>(elapsed_.msecsSinceReference());
    }
  }
}

std::uint32_t QtClock::TickCount() const {
  if (!shaped_) {
    // Milliseconds of the monotonic clock, which on Linux counts from boot.
    return static_cast<std::uint32_t>(elapsed_.msecsSinceReference() + elapsed_.elapsed());
  }
  return static_cast<std::uint32_t>(start_ + static_cast<std::uint64_t>(elapsed_.elapsed()) * speed_);
}

std::string QtClock::LocalTimeText() const {
  return QTime::currentTime().toString(QStringLiteral("HH:mm:ss")).toStdString();
}

std::string QtClock::LocalDateText() const {
  return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

}  // namespace varnek
