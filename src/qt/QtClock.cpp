#include "qt/QtClock.h"

#include <QDateTime>
#include <QLocale>
#include <chrono>

namespace varnek {

QtClock::QtClock() {
  elapsed_.start();
}

std::uint32_t QtClock::TickCount() const {
  // Milliseconds of the monotonic clock, which on Linux counts from boot.
  return static_cast<std::uint32_t>(elapsed_.msecsSinceReference() + elapsed_.elapsed());
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
