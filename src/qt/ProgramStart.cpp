#include "qt/ProgramStart.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

#include "core/store/SettingsCheck.h"
#include "qt/ProgramPlaces.h"

namespace varnek {
namespace {

int Refuse(const QString& reason) {
  const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
  std::fprintf(stderr, "%s: %s\n", program.toLocal8Bit().constData(), reason.toLocal8Bit().constData());
  return 1;
}

}  // namespace

ProgramStart::ProgramStart(const ProgramArguments& arguments)
    : paths_(ChooseProgramPaths(arguments.directory, QCoreApplication::applicationDirPath().toStdString(),
                                [](const char* name) { return qEnvironmentVariable(name); })) {}

int ProgramStart::CheckSettings() const {
  const std::filesystem::path file = paths_.settings / "Varnek.ini";
  const SettingsCheck check = CheckSettingsFile(file);
  if (!check.readable) {
    return Refuse(QString::fromLocal8Bit(check.error.c_str()));
  }
  for (const std::string& value : check.values) {
    std::printf("%s: %s\n", file.c_str(), value.c_str());
  }
  if (check.values.empty()) {
    std::printf("%s: every value can be taken%s\n", file.c_str(),
                std::filesystem::exists(file) ? "" : " (there is no file yet: every setting has its default)");
  }
  std::fflush(stdout);
  return check.values.empty() ? 0 : 1;
}

std::optional<int> ProgramStart::Prepare() {
  if (const auto error = MakeProgramDirectories(paths_)) {
    return Refuse(*error);
  }
  lock_.emplace(paths_.settings);
  if (const auto error = lock_->Take()) {
    return Refuse(*error);
  }
  return std::nullopt;
}

}  // namespace varnek
