#include "gui/MenuHints.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusTipEvent>

namespace varnek {

MenuHints::MenuHints(QWidget* window) : QObject(window), window_(window) {
  qApp->installEventFilter(this);
}

MenuHints::~MenuHints() {
  qApp->removeEventFilter(this);
}

bool MenuHints::BelongsToWindow(const QMenu* menu) const {
  for (const QObject* owner = menu->parent(); owner != nullptr; owner = owner->parent()) {
    if (owner == window_) {
      return true;
    }
  }
  return false;
}

bool MenuHints::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseMove && type != QEvent::KeyRelease && type != QEvent::Hide) {
    return false;
  }
  auto* menu = qobject_cast<QMenu*>(watched);
  if (menu == nullptr || !window_ || !BelongsToWindow(menu)) {
    return false;
  }
  if (type == QEvent::Hide) {
    Show(QString());
    return false;
  }
  const QAction* action = type == QEvent::MouseMove
                              ? menu->actionAt(static_cast<QMouseEvent*>(event)->position().toPoint())
                              : menu->activeAction();
  Show(action != nullptr ? action->statusTip() : QString());
  return false;
}

void MenuHints::Show(const QString& hint) {
  if (hint == shown_) {
    return;
  }
  shown_ = hint;
  QStatusTipEvent tip(hint);
  QCoreApplication::sendEvent(window_, &tip);
}

}  // namespace varnek
