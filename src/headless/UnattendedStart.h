#pragma once

#include <optional>

namespace varnek {

class BotActions;
class HeadlessFrontEnd;

// The status of a program that cannot run as configured (sysexits.h's
// EX_CONFIG); a service manager told so (RestartPreventExitStatus=78) does
// not start it again until someone has changed its settings.
inline constexpr int kConfigurationExitStatus = 78;

// A start without a console that cannot connect: no hub address or nick
// (MissingConnectionSettings), because Varnek.ini could not be read or does
// not hold them. Nothing would ever set them, and a program that waited
// would look healthy to its service manager. So, once the bot has started
// (its settings loaded):
//
// - standard input at its end already, seen without reading it (/dev/null,
//   as a service's StandardInput=null or a closed standard input gives it;
//   a regular file read to its end; a pipe or socket whose writer is gone
//   with nothing left in it): returns the exit status at once;
// - otherwise standard input that ends before its first byte (a pipe whose
//   writer goes without a word) ends the event loop with the status then.
//   A console that gave anything, even an empty line, is a console.
//
// Either way Varnek.ini is written with the defaults when there is none (a
// file to edit), and standard error says which keys to set in which file,
// or why the file could not be read. Nothing when the bot can connect.
std::optional<int> RefuseUnattendedStart(BotActions& bot, HeadlessFrontEnd& frontEnd);

}  // namespace varnek
