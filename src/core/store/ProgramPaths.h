#pragma once

#include <filesystem>

namespace varnek {

// Where the program's files are. The portable layout keeps everything in one
// directory; an installed program keeps its settings, its logs and its
// read-only data apart, where the system's other programs keep theirs.
struct ProgramPaths {
  std::filesystem::path settings;  // Varnek.ini (and the lock beside it)
  std::filesystem::path logs;      // status.txt, chat.txt, log.txt
  std::filesystem::path data;      // translations/, images/

  static ProgramPaths Portable(const std::filesystem::path& directory) {
    return ProgramPaths{directory, directory / "logs", directory};
  }
};

}  // namespace varnek
