#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>

namespace varnek {

// What a program's command line asks for. Both programs take the same
// arguments:
//
//   --dir DIR   the program directory (Varnek.ini, translations/, images/,
//               logs/) instead of the executable's own
//   --version   the product name and version
//   --help      the usage
struct ProgramArguments {
  enum class Action {
    Run,            // start the program in `directory`
    ShowUsage,      // --help: the usage, and a successful exit
    ShowVersion,    // --version
    WrongArgument,  // an unknown argument, or --dir without its directory: the usage, and a failed exit
    NoDirectory,    // `directory` is no directory
  };
  Action action = Action::Run;
  std::filesystem::path directory;
};

// Reads a command line as QCoreApplication::arguments() gives it, the
// program's name first; `executableDirectory` is the program directory unless
// --dir names another.
ProgramArguments ReadProgramArguments(const QStringList& arguments, const QString& executableDirectory);

// Does what the arguments ask for instead of running, writing the usage or
// the version, and gives the exit status; nothing when the program is to run.
std::optional<int> AnswerWithoutRunning(const ProgramArguments& arguments, const char* usage);

}  // namespace varnek
