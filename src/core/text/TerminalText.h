#pragma once

#include <string>
#include <string_view>

namespace varnek {

// Text for a terminal, which takes some characters as orders: ESC starts a
// sequence that retitles the window, clears the screen or colours what
// follows, BEL rings, CR goes back to the line's start. A hub's text must
// show them, not obey them: appends UTF-8 text with every C0 control and DEL
// in caret notation ("^[", "^G", "^M", "^?") and every C1 control (U+0080 to
// U+009F, two bytes in UTF-8) as "\x9b"; a tab stays a tab, as the pane
// lines lay out columns with tabs. The text is UTF-8 already converted from
// the hub's code page, so a windows-1252 byte 0x80 is "€" by then and stays.
void AppendForTerminal(std::string& out, std::string_view utf8);

// Whether the text may hold something AppendForTerminal changes: a byte
// below 0x20 (tabs included), DEL, or one above ASCII. Eight bytes at a time,
// as every line the headless program writes passes here.
bool MayHoldTerminalControls(std::string_view utf8);

}  // namespace varnek
