#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>

namespace varnek {

// What a program is, for its usage text: its one-line summary and, below the
// options, what else a user must know (the headless program's standard input
// and output lines); and whether it takes --send, which only a program with a
// control socket can answer.
struct ProgramDescription {
  const char* summary;
  const char* details;
  bool takesSendLine = false;
};

// What a program's command line asks for. Both programs take these options:
//
//   --dir DIR          the portable layout in DIR (Varnek.ini, translations/,
//                      images/, logs/) instead of the default places
//   --check-settings   names every value of Varnek.ini the program cannot
//                      take, changes nothing, and exits 1 when there is one
//   --version          the product name and version
//   --help             the usage
//
// and the headless program also
//
//   --send LINE        one console line for the bot that runs on the settings
//                      directory, through its control socket
struct ProgramArguments {
  enum class Action {
    Run,            // start the program
    ShowUsage,      // --help: the usage on standard output, and a successful exit
    ShowVersion,    // --version
    CheckSettings,  // --check-settings: read Varnek.ini, name what cannot be taken, run nothing
    WrongArgument,  // an unknown option, a missing value, a stray argument: `error`, and exit 2
    NoDirectory,    // --dir names no directory
    SendLine,       // --send: hand `sendLine` to the running bot, run nothing
  };
  Action action = Action::Run;
  // --dir, made absolute; nothing when the program chooses its places.
  std::optional<std::filesystem::path> directory;
  // --send's line, as given.
  QString sendLine;
  QString usage;
  QString error;
};

// Reads a command line, the program's name first. Needs no application
// object, so the window answers --help and --version without a display.
ProgramArguments ReadProgramArguments(const QStringList& arguments, const ProgramDescription& description);

// The command line as main() receives it.
QStringList ArgumentsOf(int argc, char* argv[]);

// Does what the arguments ask for instead of running, writing the usage, the
// version or the error, and gives the exit status; nothing when the program
// is to run.
std::optional<int> AnswerWithoutRunning(const ProgramArguments& arguments);

}  // namespace varnek
