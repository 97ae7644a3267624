#pragma once

#include <QColor>

class QWidget;

namespace varnek {

// Gives a chat control (the panes, the command line, the user list, the
// preview) the operator's colours while it is enabled. Disabled, it keeps the
// style's disabled look whatever the colours, so that a command line that
// cannot send does not look as if it could. Its scroll bars and column
// headers keep the style's colours too: an arrow drawn in the chat's text
// colour can vanish into the bar.
void ApplyChatColours(QWidget& widget, const QColor& background, const QColor& text);

}  // namespace varnek
