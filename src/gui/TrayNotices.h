#pragma once

#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>
#include <functional>

#include "core/model/Notices.h"

class QWidget;

namespace varnek {

class HubCodec;

// The bot's notices as the desktop's notifications, through the tray icon,
// while the window is not the one the operator is looking at: a private
// message, a kick or a lost connection would otherwise go unseen.
class TrayNotices : public NoticeListener {
 public:
  // Where a notice goes: the tray icon's message; tests record it instead.
  // Returns whether it was shown.
  using Show = std::function<bool(NoticeKind kind, const QString& title, const QString& text)>;

  TrayNotices(QWidget* window, const HubCodec& codec);

  // The tray icon, once there is one; without it notices are dropped.
  void SetTray(QSystemTrayIcon* tray) { tray_ = tray; }
  void SetShow(Show show) { show_ = std::move(show); }

  bool OnNotice(NoticeKind kind, const std::string& title, const std::string& text) override;

 private:
  bool ShowInTray(NoticeKind kind, const QString& title, const QString& text);

  QPointer<QWidget> window_;
  const HubCodec& codec_;
  QPointer<QSystemTrayIcon> tray_;
  Show show_;
};

}  // namespace varnek
