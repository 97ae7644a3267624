#pragma once

#include <optional>

#include "core/store/ProgramPaths.h"
#include "qt/ProgramArguments.h"
#include "qt/ProgramLock.h"

namespace varnek {

// What both programs do between reading their arguments and making the bot:
// choose where the files are, make the missing directories and take the
// settings directory's lock, which is held until this object goes.
class ProgramStart {
 public:
  // Needs the application object (for the executable's directory).
  explicit ProgramStart(const ProgramArguments& arguments);

  // Nothing when the program can run; otherwise the reason is on standard
  // error and this is the exit status.
  std::optional<int> Prepare();

  // --check-settings: reads the settings file of the places chosen, without
  // making a directory or taking the lock, writes every value that cannot be
  // taken to standard output and gives the exit status (1 when there is one
  // or the file cannot be read).
  int CheckSettings() const;

  const ProgramPaths& Paths() const { return paths_; }

 private:
  ProgramPaths paths_;
  std::optional<ProgramLock> lock_;
};

}  // namespace varnek
