#pragma once

#include <string>

namespace varnek {

class Bot;
class HeadlessFrontEnd;

// One line typed on standard input: a line of the console as if typed into
// the command line and sent with Return.
void RunConsoleLine(Bot& bot, HeadlessFrontEnd& frontEnd, const std::string& line);

}  // namespace varnek
