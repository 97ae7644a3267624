#include "qt/ProgramStart.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

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
