#include "gui/ChatColours.h"

#include <QApplication>
#include <QHeaderView>
#include <QPalette>
#include <QScrollBar>
#include <QWidget>

namespace varnek {
namespace {

// The style's own colours, every one of them set on the widget itself, so
// that none comes from the chat control around it.
void KeepStyleColours(QWidget& widget) {
  const QPalette style = QApplication::palette(&widget);
  QPalette palette;
  for (int group = 0; group < QPalette::NColorGroups; ++group) {
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
      const auto g = static_cast<QPalette::ColorGroup>(group);
      const auto r = static_cast<QPalette::ColorRole>(role);
      palette.setBrush(g, r, style.brush(g, r));
    }
  }
  widget.setPalette(palette);
}

}  // namespace

void ApplyChatColours(QWidget& widget, const QColor& background, const QColor& text) {
  QPalette palette = QApplication::palette(&widget);
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::Base, background);
    palette.setColor(group, QPalette::Window, background);
    palette.setColor(group, QPalette::Text, text);
    palette.setColor(group, QPalette::WindowText, text);
  }
  widget.setAutoFillBackground(true);
  widget.setPalette(palette);
  for (QScrollBar* bar : widget.findChildren<QScrollBar*>()) {
    KeepStyleColours(*bar);
  }
  for (QHeaderView* header : widget.findChildren<QHeaderView*>()) {
    KeepStyleColours(*header);
  }
}

}  // namespace varnek
