#pragma once

#include <QString>
#include <filesystem>

namespace varnek {

// `--send LINE`: hands one console line to the bot that runs on the settings
// directory, through its control socket, and writes the answer as the bot
// would have written it for a line on its standard input: reply lines to
// standard output, the program's messages to standard error. Gives the exit
// status: 0 when the bot ran the line; 1 when no bot runs there, the socket
// belongs to another user, or the bot refused the line.
int SendLineToBot(const std::filesystem::path& settingsDirectory, const QString& line);

}  // namespace varnek
