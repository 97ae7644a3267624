#include "gui/TrayNotices.h"

#include <QWidget>

#include "core/model/NoticeGroup.h"
#include "qt/HubCodec.h"

namespace varnek {
namespace {}  // namespace

TrayNotices::TrayNotices(QWidget* window, const HubCodec& codec)
    : window_(window), codec_(codec), show_([this](NoticeKind kind, const QString& title, const QString& text) {
        return ShowInTray(kind, title, text);
      }) {}

bool TrayNotices::OnNotice(NoticeKind kind, const std::string& title, const std::string& text) {
  // The operator at the window sees the chat pane and the status bar.
  if (window_ && window_->isVisible() && !window_->isMinimized() && window_->isActiveWindow()) {
    return false;
  }
  return show_(kind, codec_.ToUnicode(title), codec_.ToUnicode(text));
}

bool TrayNotices::ShowInTray(NoticeKind kind, const QString& title, const QString& text) {
  if (!tray_ || !tray_->isVisible()) {
    return false;
  }
  const auto icon = kind == NoticeKind::ConnectionLost ? QSystemTrayIcon::Warning : QSystemTrayIcon::Information;
  tray_->showMessage(title, text, icon, static_cast<int>(kNoticeShownMs));
  return true;
}

}  // namespace varnek
