#include "gui/widgets/LinkLabel.h"

#include <QMouseEvent>

namespace varnek {

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
  setCursor(Qt::PointingHandCursor);
  QFont underlined = font();
  underlined.setUnderline(true);
  setFont(underlined);
  SetColour(QColor(0, 64, 128));
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

}  // namespace varnek
