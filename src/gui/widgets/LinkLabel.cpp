#include "gui/widgets/LinkLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace varnek {

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
  setCursor(Qt::PointingHandCursor);
  QFont underlined = font();
  underlined.setUnderline(true);
  setFont(underlined);
  SetColour(QColor(0, 64, 128));
  setFocusPolicy(Qt::StrongFocus);
}

void LinkLabel::SetColour(const QColor& colour) {
  QPalette palette = this->palette();
  palette.setColor(QPalette::WindowText, colour);
  setPalette(palette);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
  }
  QLabel::mouseReleaseEvent(event);
}

void LinkLabel::enterEvent(QEnterEvent* event) {
  SetColour(QColor(0, 128, 192));
  QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent* event) {
  SetColour(QColor(0, 64, 128));
  QLabel::leaveEvent(event);
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() == Qt::NoModifier &&
      (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
    emit clicked();
    return;
  }
  QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (hasFocus()) {
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
  }
}

}  // namespace varnek
