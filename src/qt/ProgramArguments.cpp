#include "qt/ProgramArguments.h"

#include <QDir>
#include <cstdio>
#include <system_error>

#include "core/text/Product.h"

namespace varnek {

ProgramArguments ReadProgramArguments(const QStringList& arguments, const QString& executableDirectory) {
  ProgramArguments result;
  result.directory = executableDirectory.toStdString();
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == QLatin1String("--dir") && i + 1 < arguments.size()) {
      result.directory = QDir(arguments[++i]).absolutePath().toStdString();
    } else if (argument == QLatin1String("--version")) {
      result.action = ProgramArguments::Action::ShowVersion;
      return result;
    } else if (argument == QLatin1String("--help")) {
      result.action = ProgramArguments::Action::ShowUsage;
      return result;
    } else {
      result.action = ProgramArguments::Action::WrongArgument;
      return result;
    }
  }
  std::error_code error;
  if (!std::filesystem::is_directory(result.directory, error)) {
    result.action = ProgramArguments::Action::NoDirectory;
  }
  return result;
}

std::optional<int> AnswerWithoutRunning(const ProgramArguments& arguments, const char* usage) {
  switch (arguments.action) {
    case ProgramArguments::Action::Run:
      return std::nullopt;
    case ProgramArguments::Action::ShowUsage:
      std::fputs(usage, stderr);
      return 0;
    case ProgramArguments::Action::ShowVersion:
      std::printf("%s %s\n", kProductName, kProductVersion);
      return 0;
    case ProgramArguments::Action::WrongArgument:
      std::fputs(usage, stderr);
      return 2;
    case ProgramArguments::Action::NoDirectory:
      std::fprintf(stderr, "varnek: no such directory: %s\n", arguments.directory.c_str());
      return 2;
  }
  return 2;
}

}  // namespace varnek
