#include "qt/QtClock.h"

#include <QDateTime>
#include <QLocale>
#include <ctime>

namespace varnek {

QtClock::QtClock() {
  elapsed_.start();
}

std::uint32_t QtClock::TickCount() const {
  // Milliseconds of the monotonic clock, which on Linux counts from boot.
  return static_cast<std::uint32_t>(elapsed_.msecsSinceReference() + elapsed_.elapsed());
}

void QtClock::MakeTextsForThisSecond() const {
  // Every pane line asks for the texts. The coarse clock is read without a
  // system call even in a virtual machine; its few milliseconds of lag do
  // not matter to texts that show whole seconds.
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
  const std::int64_t second = now.tv_sec;
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
