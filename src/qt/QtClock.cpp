#include "qt/QtClock.h"

#include <QDateTime>
#include <QLocale>
#include <algorithm>
#include <chrono>
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

void QtClock::MakeTextsForThisSecond() const {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const std::int64_t second = std::chrono::floor<std::chrono::seconds>(now).count();
  if (second == textSecond_) {
    return;
  }
  // Both texts from the one second, so a date never goes with the time of
  // another day.
  const QDateTime local = QDateTime::fromSecsSinceEpoch(second);
  timeText_ = local.time().toString(QStringLiteral("HH:mm:ss")).toStdString();
  dateText_ = QLocale::system().toString(local.date(), QLocale::ShortFormat).toStdString();
  textSecond_ = second;
}

std::string QtClock::LocalTimeText() const {
  MakeTextsForThisSecond();
  return timeText_;
}

std::string QtClock::LocalDateText() const {
  MakeTextsForThisSecond();
  return dateText_;
}

}  // namespace varnek
