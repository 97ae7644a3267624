#include "qt/ProgramLock.h"

#include <QDir>

namespace varnek {

ProgramLock::ProgramLock(const std::filesystem::path& settingsDirectory)
    : directory_(QString::fromStdString(settingsDirectory.string())),
      file_(QDir(directory_).filePath(QString::fromLatin1(kFileName))) {
  // A bot runs for months: the lock's age says nothing about its holder.
  file_.setStaleLockTime(0);
}

std::optional<QString> ProgramLock::Take() {
  if (file_.tryLock(0)) {
    return std::nullopt;
  }
  if (file_.error() == QLockFile::LockFailedError) {
    qint64 pid = 0;
    QString host;
    QString application;
    if (file_.getLockInfo(&pid, &host, &application)) {
      return QStringLiteral(
                 "%1 is in use by process %2 (%3) on host %4; stop that one first or give this one "
                 "another directory with --dir")
          .arg(directory_, QString::number(pid), application, host);
    }
    return QStringLiteral("%1 is in use by another process (see %2)").arg(directory_, file_.fileName());
  }
  const QString reason = file_.error() == QLockFile::PermissionError ? QStringLiteral("permission denied")
                                                                     : QStringLiteral("unknown error");
  return QStringLiteral("cannot create the lock file %1: %2").arg(file_.fileName(), reason);
}

}  // namespace varnek
