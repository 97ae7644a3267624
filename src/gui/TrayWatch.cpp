#include "gui/TrayWatch.h"

namespace varnek {

TrayWatch::TrayWatch(QObject* parent, Available available, Make make, int everyMs)
    : QObject(parent), available_(std::move(available)), make_(std::move(make)) {
  timer_.setInterval(everyMs);
  connect(&timer_, &QTimer::timeout, this, &TrayWatch::Check);
  if (!Check()) {
    timer_.start();
  }
}

bool TrayWatch::Check() {
  if (!made_ && available_()) {
    made_ = true;
    timer_.stop();
    make_();
  }
  return made_;
}

}  // namespace varnek
