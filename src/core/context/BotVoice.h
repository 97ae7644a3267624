#pragma once

#include <string>
#include <string_view>

namespace varnek {

class CodePages;
class ControlModel;
class Dialogs;
class LangTable;

// How the bot speaks: its nick, its command trigger and the frames of the
// lines it sends. Every part that talks to the hub or the operator builds its
// lines with these, so one change of nick or trigger reaches all of them.

// The bot's own nick, the text of UsernameEdit.
const std::string& MyNick(const ControlModel& controls);
// The bot command trigger chosen in TriggerComboBox, in the hub's code page:
// what commands are compared with and what help texts show.
std::string CurrentTrigger(const ControlModel& controls, const CodePages& codePages);
// "$" to "&#36;" and "|" to "&#124;": text from outside (a song title, a
// user's argument, a log line) put into a chat line can then never end it
// and put commands of its own on the wire with the bot's operator rights.
std::string EscapeChatText(std::string_view text);
// The private message frame of every answer to one user; its text is
// escaped, so that nothing in it can end the message.
std::string PrivateReply(const ControlModel& controls, std::string_view nick, std::string_view text);
// A main chat line of the bot: "<mynick> " and the text.
std::string ChatLineOfBot(const ControlModel& controls, std::string_view text);
// The warning of a refused value; the message is written with the protocol
// escapes, the dialog shows "$" and "|" themselves.
void WarnForbiddenCharacters(const LangTable& lang, Dialogs& dialogs);

}  // namespace varnek
