#include "gui/widgets/CommandLine.h"

#include <QKeyEvent>

#include "gui/widgets/TabKeys.h"

namespace varnek {
namespace {

Modifiers ModifiersOf(const QKeyEvent& event) {
  Modifiers modifiers = Modifiers::None;
  const Qt::KeyboardModifiers held = event.modifiers();
  if ((held & Qt::ShiftModifier) != 0) {
    modifiers = modifiers | Modifiers::Shift;
  }
  if ((held & Qt::ControlModifier) != 0) {
    modifiers = modifiers | Modifiers::Ctrl;
  }
  if ((held & Qt::AltModifier) != 0) {
    modifiers = modifiers | Modifiers::Alt;
  }
  return modifiers;
}

}  // namespace

CommandLine::CommandLine(KeyHandler onKey, QWidget* parent) : QPlainTextEdit(parent), onKey_(std::move(onKey)) {
  LetTabLeave(this);
}

void CommandLine::keyPressEvent(QKeyEvent* event) {
  const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const Modifiers modifiers = ModifiersOf(*event);
  const bool ctrlShift = modifiers == (Modifiers::Shift | Modifiers::Ctrl);
  if (isReturn || ctrlShift) {
    onKey_(isReturn ? Key::Return : Key::Other, modifiers);
    if (isReturn) {
      return;  // Return sends; it never breaks the line
    }
  }
  QPlainTextEdit::keyPressEvent(event);
}

}  // namespace varnek
