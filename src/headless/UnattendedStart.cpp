#include "headless/UnattendedStart.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "core/BotActions.h"
#include "headless/HeadlessFrontEnd.h"

namespace varnek {
namespace {

bool IsDevNull(const struct stat& input) {
  struct stat null = {};
  return S_ISCHR(input.st_mode) && ::stat("/dev/null", &null) == 0 && S_ISCHR(null.st_mode) &&
         input.st_rdev == null.st_rdev;
}

bool RegularFileReadToItsEnd(const struct stat& input) {
  const off_t position = ::lseek(STDIN_FILENO, 0, SEEK_CUR);
  return position >= 0 && position >= input.st_size;
}

// A pipe without a writer reports a hang-up, a socket whose peer shut its
// side a read hang-up; either may still hold bytes to read.
bool StreamEnded() {
  pollfd input = {.fd = STDIN_FILENO, .events = POLLIN | POLLRDHUP, .revents = 0};
  if (::poll(&input, 1, 0) != 1 || (input.revents & (POLLHUP | POLLRDHUP)) == 0) {
    return false;
  }
  int pending = 0;
  return ::ioctl(STDIN_FILENO, FIONREAD, &pending) == 0 && pending == 0;  // NOLINT(cppcoreguidelines-pro-type-vararg)
}

QString Shown(const std::filesystem::path& path) {
  return QString::fromLocal8Bit(path.c_str());
}

// A first start: the admin gets a whole file to edit, every key with its
// default.
void WriteDefaults(BotActions& bot, HeadlessFrontEnd& frontEnd) {
  LocalReply reply;
  bot.Run([&] { reply = bot.SaveSettingsAndTell(); });
  if (reply.done) {
    frontEnd.Tell(QStringLiteral("wrote the default settings to %1").arg(Shown(bot.SettingsFilePath())));
  } else {
    frontEnd.Tell(QStringLiteral("could not write the default settings: %1").arg(QString::fromLocal8Bit(reply.text)));
  }
}

bool StandardInputAtEnd() {
  struct stat input = {};
  if (::fstat(STDIN_FILENO, &input) != 0) {
    return true;
  }
  if (S_ISCHR(input.st_mode)) {
    return IsDevNull(input);
  }
  if (S_ISREG(input.st_mode)) {
    return RegularFileReadToItsEnd(input);
  }
  if (S_ISFIFO(input.st_mode) || S_ISSOCK(input.st_mode)) {
    return StreamEnded();
  }
  return false;
}

std::optional<int> Refusal(BotActions& bot, HeadlessFrontEnd& frontEnd) {
  const std::vector<std::string> missing = bot.MissingConnectionSettings();
  if (missing.empty()) {
    return std::nullopt;
  }
  const QString file = Shown(bot.SettingsFilePath());
  if (!bot.SettingsReadFailure().empty()) {
    frontEnd.Tell(QStringLiteral("%1; without a console the program cannot run: make the file readable for the user "
                                 "the program runs as (or move it away to start from the defaults) and start the "
                                 "program again")
                      .arg(QString::fromLocal8Bit(bot.SettingsReadFailure())));
    return kConfigurationExitStatus;
  }
  std::error_code error;
  if (!std::filesystem::exists(bot.SettingsFilePath(), error) && !error) {
    WriteDefaults(bot, frontEnd);
  }
  QStringList names;
  QStringList entries;
  for (const std::string& key : missing) {
    names << QString::fromStdString(key);
    entries << QString::fromStdString(key) + QLatin1Char('=') + MissingSettingValue(key);
  }
  frontEnd.Tell(QStringLiteral("no %1 is set, and with standard input at its end nothing can set %2: put %3 under "
                               "[Settings] in %4 (and Connect=1 to connect at start) and start the program again")
                    .arg(names.join(QStringLiteral(" or ")),
                         names.size() == 1 ? QStringLiteral("it") : QStringLiteral("them"),
                         entries.join(QStringLiteral(" and ")), file));
  return kConfigurationExitStatus;
}

}  // namespace

std::optional<int> RefuseUnattendedStart(BotActions& bot, HeadlessFrontEnd& frontEnd) {
  if (StandardInputAtEnd()) {
    if (const auto status = Refusal(bot, frontEnd)) {
      return status;
    }
  }
  frontEnd.SetEmptyInputHandler([&bot, &frontEnd] {
    if (const auto status = Refusal(bot, frontEnd)) {
      QCoreApplication::exit(*status);
    }
  });
  return std::nullopt;
}

}  // namespace varnek
