#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace varnek {

// Makes the tray icon once the desktop has a tray. A tray host (a panel, a
// status notifier watcher) may start after the window does, at login say,
// and Qt tells of none: while there is no tray this looks again every few
// seconds, and stops once the icon is made.
class TrayWatch : public QObject {
  Q_OBJECT
 public:
  using Available = std::function<bool()>;
  using Make = std::function<void()>;

  static constexpr int kEveryMs = 3000;

  // Looks at once; `available` is QSystemTrayIcon::isSystemTrayAvailable
  // but for tests.
  TrayWatch(QObject* parent, Available available, Make make, int everyMs = kEveryMs);

  // Makes the icon when a tray has come; true once it is made.
  bool Check();

 private:
  Available available_;
  Make make_;
  QTimer timer_;
  bool made_ = false;
};

}  // namespace varnek
