#include "qt/ProgramArguments.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <system_error>

#include "core/text/Product.h"

namespace varnek {
namespace {

QString ProgramName(const QStringList& arguments) {
  return arguments.isEmpty() ? QStringLiteral("varnek") : QFileInfo(arguments.first()).fileName();
}

// QCommandLineParser's own help text names the executable through the
// application object, which the window has not made yet; this one is built
// from the arguments alone.
QString UsageText(const QString& program, const QCommandLineParser& parser, const ProgramDescription& description) {
  QString helpText = parser.helpText();
  // Everything from the options on is the parser's; the first line is ours.
  const qsizetype options = helpText.indexOf(QLatin1String("Options:"));
  QString usage = QStringLiteral("Usage: %1 [options]\n%2\n\n").arg(program, QString::fromUtf8(description.summary));
  usage += options >= 0 ? helpText.mid(options) : helpText;
  if (description.details != nullptr && description.details[0] != '\0') {
    usage += QLatin1Char('\n') + QString::fromUtf8(description.details);
  }
  return usage;
}

// Why --send cannot take the line: the control socket runs one line per
// connection, so a line break would cut it (the rest would be lost).
std::optional<QString> RefusedSendLine(const QString& line, ProgramArguments::Action action) {
  if (action == ProgramArguments::Action::CheckSettings) {
    return QStringLiteral("--send and --check-settings cannot be given together.");
  }
  if (line.contains(QLatin1Char('\n'))) {
    return QStringLiteral("--send takes one line; this one holds a line break.");
  }
  return std::nullopt;
}

void Write(std::FILE* stream, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), stream);
}

}  // namespace

QStringList ArgumentsOf(int argc, char* argv[]) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) {
    arguments << QString::fromLocal8Bit(argv[i]);
  }
  return arguments;
}

ProgramArguments ReadProgramArguments(const QStringList& arguments, const ProgramDescription& description) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Show this help and exit."));
  const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Show the version and exit."));
  const QCommandLineOption directory(
      QStringLiteral("dir"),
      QStringLiteral("Keep every file in DIR (Varnek.ini, translations/, images/, logs/) instead of the "
                     "default places."),
      QStringLiteral("DIR"));
  const QCommandLineOption checkSettings(
      QStringLiteral("check-settings"),
      QStringLiteral("Read Varnek.ini, name every value the program cannot take, and exit: 1 when there is one, "
                     "0 otherwise. Changes nothing and may run beside a running bot."));
  parser.addOptions({help, version, directory, checkSettings});
  const QCommandLineOption send(
      QStringLiteral("send"),
      QStringLiteral("Send LINE, one console line (\":get Dns\", \":bot %detects 1\", a chat line), to the bot that "
                     "runs on the settings directory, write its answer and exit: 0 when the bot ran the line, 1 when "
                     "no bot runs there or it refused the line."),
      QStringLiteral("LINE"));
  if (description.takesSendLine) {
    parser.addOption(send);
  }

  ProgramArguments result;
  const QString program = ProgramName(arguments);
  result.usage = UsageText(program, parser, description);
  const bool parsed = parser.parse(arguments);
  if (parsed && parser.isSet(help)) {
    result.action = ProgramArguments::Action::ShowUsage;
    return result;
  }
  if (parsed && parser.isSet(version)) {
    result.action = ProgramArguments::Action::ShowVersion;
    return result;
  }
  if (!parsed || !parser.positionalArguments().isEmpty()) {
    result.action = ProgramArguments::Action::WrongArgument;
    const QString why = parsed ? QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first())
                               : parser.errorText();
    result.error = QStringLiteral("%1: %2\nTry '%1 --help' for the usage.\n").arg(program, why);
    return result;
  }
  if (parser.isSet(checkSettings)) {
    result.action = ProgramArguments::Action::CheckSettings;
  }
  if (description.takesSendLine && parser.isSet(send)) {
    if (const auto why = RefusedSendLine(parser.value(send), result.action)) {
      result.action = ProgramArguments::Action::WrongArgument;
      result.error = QStringLiteral("%1: %2\nTry '%1 --help' for the usage.\n").arg(program, *why);
      return result;
    }
    result.action = ProgramArguments::Action::SendLine;
    result.sendLine = parser.value(send);
  }
  if (parser.isSet(directory)) {
    const QString chosen = QDir(parser.value(directory)).absolutePath();
    result.directory = std::filesystem::path(chosen.toStdString());
    std::error_code error;
    if (!std::filesystem::is_directory(*result.directory, error)) {
      result.action = ProgramArguments::Action::NoDirectory;
      result.error = std::filesystem::exists(*result.directory, error)
                         ? QStringLiteral("%1: not a directory: %2\n").arg(program, chosen)
                         : QStringLiteral("%1: no such directory: %2\n").arg(program, chosen);
    }
  }
  return result;
}

std::optional<int> AnswerWithoutRunning(const ProgramArguments& arguments) {
  switch (arguments.action) {
    case ProgramArguments::Action::Run:
    case ProgramArguments::Action::CheckSettings:  // needs the program's places: ProgramStart
    case ProgramArguments::Action::SendLine:       // so does --send
      return std::nullopt;
    case ProgramArguments::Action::ShowUsage:
      Write(stdout, arguments.usage);
      return 0;
    case ProgramArguments::Action::ShowVersion:
      std::printf("%s %s\n", kProductName, kProductVersion);
      return 0;
    case ProgramArguments::Action::WrongArgument:
    case ProgramArguments::Action::NoDirectory:
      Write(stderr, arguments.error);
      return 2;
  }
  return 2;
}

}  // namespace varnek
