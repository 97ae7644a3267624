#include "gui/WindowPlacement.h"

#include <algorithm>

namespace varnek {

QRect PlaceInArea(QSize wanted, QSize least, const QMargins& frame, const QRect& area) {
  const QSize room = area.size().shrunkBy(frame);
  const QSize size = wanted.boundedTo(room).expandedTo(least);
  const QSize framed = size.grownBy(frame);
  const int left = area.left() + (area.width() - framed.width()) / 2;
  const int top = std::max(area.top(), area.top() + (area.height() - framed.height()) / 2);
  return {QPoint(left + frame.left(), top + frame.top()), size};
}

}  // namespace varnek
