#include "qt/ProgramPlaces.h"

#include <unistd.h>

#include <QDir>
#include <cerrno>
#include <system_error>

namespace varnek {
namespace {

namespace fs = std::filesystem;

// An XDG base directory: the variable when it holds an absolute path (a
// relative one is to be ignored), else its fallback under the home directory.
fs::path BaseDirectory(const std::function<QString(const char*)>& environment, const char* variable,
                       const char* fallback) {
  const QString value = environment(variable);
  if (!value.isEmpty() && QDir::isAbsolutePath(value)) {
    return fs::path(value.toStdString());
  }
  QString home = environment("HOME");
  if (home.isEmpty()) {
    home = QDir::homePath();
  }
  return fs::path(home.toStdString()) / fallback;
}

bool IsPortableCopy(const fs::path& executableDirectory) {
  std::error_code error;
  if (fs::is_directory(InstalledDataDirectory(executableDirectory), error)) {
    return false;  // installed, even where its user may write (a prefix in the home directory, or root)
  }
  return ::access(executableDirectory.c_str(), W_OK) == 0;
}

std::optional<QString> MakeDirectory(const fs::path& directory) {
  std::error_code error;
  if (fs::is_directory(directory, error)) {
    return std::nullopt;
  }
  fs::create_directories(directory, error);
  if (!error) {
    fs::permissions(directory, fs::perms::owner_all, error);
  }
  if (error) {
    return QStringLiteral("cannot create the directory %1: %2")
        .arg(QString::fromStdString(directory.string()), QString::fromStdString(error.message()));
  }
  return std::nullopt;
}

// A service's logs directory (systemd's LogsDirectory=): the first of the
// paths in $LOGS_DIRECTORY, which joins several with ":", when it is absolute.
std::optional<fs::path> ServiceLogsDirectory(const std::function<QString(const char*)>& environment) {
  const QString first = environment("LOGS_DIRECTORY").section(QLatin1Char(':'), 0, 0);
  if (first.isEmpty() || !QDir::isAbsolutePath(first)) {
    return std::nullopt;
  }
  return fs::path(first.toStdString());
}

// Where the files are by the command line and the program's own place.
ProgramPaths ChooseLayout(const std::optional<fs::path>& directory, const fs::path& executableDirectory,
                          const std::function<QString(const char*)>& environment) {
  if (directory) {
    ProgramPaths paths = ProgramPaths::Portable(*directory);
    // A directory made for one bot (a service's) need not copy the language
    // files and icons: an installed program reads its own then.
    std::error_code error;
    const fs::path installed = InstalledDataDirectory(executableDirectory);
    if (!fs::is_directory(*directory / "translations", error) && fs::is_directory(installed, error)) {
      paths.data = installed;
    }
    return paths;
  }
  if (IsPortableCopy(executableDirectory)) {
    return ProgramPaths::Portable(executableDirectory);
  }
  return ProgramPaths{BaseDirectory(environment, "XDG_CONFIG_HOME", ".config") / "varnek",
                      BaseDirectory(environment, "XDG_STATE_HOME", ".local/state") / "varnek" / "logs",
                      InstalledDataDirectory(executableDirectory)};
}

}  // namespace

fs::path InstalledDataDirectory(const fs::path& executableDirectory) {
  return executableDirectory.parent_path() / "share" / "varnek";
}

ProgramPaths ChooseProgramPaths(const std::optional<fs::path>& directory, const fs::path& executableDirectory,
                                const std::function<QString(const char*)>& environment) {
  ProgramPaths paths = ChooseLayout(directory, executableDirectory, environment);
  if (const auto logs = ServiceLogsDirectory(environment)) {
    paths.logs = *logs;
  }
  return paths;
}

std::optional<QString> MakeProgramDirectories(const ProgramPaths& paths) {
  if (auto error = MakeDirectory(paths.settings)) {
    return error;
  }
  return MakeDirectory(paths.logs);
}

}  // namespace varnek
