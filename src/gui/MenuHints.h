#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QMenu;
class QWidget;

namespace varnek {

// Shows the hint of the menu item under the mouse, or chosen with the keys,
// in the window's status bar, and clears it when the menu closes. Qt sends a
// menu item's status tip to the menu, a window of its own, so it never
// reached the status bar; and it sends none for a disabled item, which is
// just the item whose hint explains why it is disabled.
class MenuHints : public QObject {
  Q_OBJECT
 public:
  // Watches every menu that belongs to the window (its own, the pages' and
  // the lists'), including menus made later.
  explicit MenuHints(QWidget* window);
  ~MenuHints() override;

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool BelongsToWindow(const QMenu* menu) const;
  void Show(const QString& hint);

  QPointer<QWidget> window_;
  QString shown_;
};

}  // namespace varnek
