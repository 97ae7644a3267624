#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <optional>

#include "core/store/ProgramPaths.h"

namespace varnek {

// Where a program keeps its files:
//
// - with --dir DIR, everything in DIR (the portable layout), except that an
//   installed program reads its own language files and icons when DIR has
//   no translations/;
// - without it, the directory of the executable when that is a portable
//   copy: writable, and with no share/varnek/ beside its parent;
// - otherwise the program is installed: Varnek.ini in
//   $XDG_CONFIG_HOME/varnek/ (~/.config/varnek/), the logs in
//   $XDG_STATE_HOME/varnek/logs/ (~/.local/state/varnek/logs/), and the
//   language files and icons read from <prefix>/share/varnek/.
//
// A service's logs directory ($LOGS_DIRECTORY, the first when it names
// several) takes the logs in each case.
//
// `environment` gives a variable's value (the process's, in the programs).
ProgramPaths ChooseProgramPaths(const std::optional<std::filesystem::path>& directory,
                                const std::filesystem::path& executableDirectory,
                                const std::function<QString(const char*)>& environment);

// The share directory of a program installed in <prefix>/bin.
std::filesystem::path InstalledDataDirectory(const std::filesystem::path& executableDirectory);

// Makes the settings and log directories when they are missing (readable by
// their owner only, as they hold the hub password and the chat); the error
// names the directory and the reason.
std::optional<QString> MakeProgramDirectories(const ProgramPaths& paths);

}  // namespace varnek
