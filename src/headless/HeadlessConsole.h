#pragma once

#include <string>
#include <vector>

namespace varnek {

class BotActions;
class ConsoleOutput;

// The prefix of the headless program's own commands. It is none of the bot
// command triggers, so no line meant for the hub changes meaning.
inline constexpr char kLocalCommandPrefix = ':';

// One line typed on standard input. A line that begins with ":" is a local
// command (kick, redirect, private message, user lookup — what the window's
// user list menu offers); any other line is a console line, as if typed into
// the command line and sent with Return. The answers go to `out`.
void RunConsoleLine(BotActions& bot, ConsoleOutput& out, const std::string& line);

// The names of the local commands, without the ":", in the order of ":help".
std::vector<std::string> LocalCommandNames();

}  // namespace varnek
