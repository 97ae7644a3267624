#pragma once

#include <QString>

class QPlainTextEdit;

namespace varnek {

// Lines up the descriptions of the bot commands' help in a pane. Each help
// line is a tab, the command, some tabs and the description: the tab counts
// line the descriptions up in a fixed-width font, which no tab width can do
// in the pane's font. So the pane's first tab stop holds the commands'
// indent, and the next ones sit a hundredth of a pixel apart just past the
// widest command: however many tabs follow a command, its description starts
// in that one column. Tabs in other lines land on the same stops.
void AlignHelpColumns(QPlainTextEdit& pane, const QString& trigger);

}  // namespace varnek
