#pragma once

#include <QLockFile>
#include <QString>
#include <filesystem>
#include <memory>
#include <optional>

namespace varnek {

// Keeps a second process from running on the same settings: a lock file in
// the settings directory, held for the whole run. The file records the
// holder's process id and host, so a lock whose process has died (on this
// host) is taken over, while a live one never goes stale.
class ProgramLock {
 public:
  static constexpr const char* kFileName = "varnek.lock";

  explicit ProgramLock(const std::filesystem::path& settingsDirectory);
  ProgramLock(const ProgramLock&) = delete;
  ProgramLock& operator=(const ProgramLock&) = delete;

  // Nothing when the lock is this process's now; otherwise why not, naming
  // the directory and the process that holds it.
  std::optional<QString> Take();

 private:
  QString directory_;
  QLockFile file_;
};

}  // namespace varnek
