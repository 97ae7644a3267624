#pragma once

#include <QPlainTextEdit>
#include <functional>

#include "core/commands/Console.h"

namespace varnek {

// The console's command line: Return sends, Ctrl+Shift adds an empty line;
// Tab goes on to the next control and Ctrl+Tab types a tab.
class CommandLine : public QPlainTextEdit {
  Q_OBJECT
 public:
  using KeyHandler = std::function<void(Key, Modifiers)>;
  CommandLine(KeyHandler onKey, QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  KeyHandler onKey_;
};

}  // namespace varnek
