#pragma once

#include <QLabel>

namespace varnek {

// A label that opens an address when clicked: dark blue, lighter under the
// mouse, with a hand cursor. Tab reaches it like a button, and Space or
// Return then opens the address.
class LinkLabel : public QLabel {
  Q_OBJECT
 public:
  explicit LinkLabel(QWidget* parent = nullptr);

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void SetColour(const QColor& colour);
};

}  // namespace varnek
