#include "gui/HelpColumns.h"

#include <QFontMetricsF>
#include <QList>
#include <QPlainTextEdit>
#include <QTextOption>
#include <algorithm>

#include "core/commands/BotCommandTable.h"

namespace varnek {
namespace {

// More tabs than any help line puts after its command.
constexpr int kStopsAfterCommands = 8;

QString CommandShown(const QString& trigger, const BotCommand& command) {
  return trigger + QString::fromLatin1(command.keyword.data(), static_cast<qsizetype>(command.keyword.size())) +
         QString::fromLatin1(command.help.argumentShown.data(),
                             static_cast<qsizetype>(command.help.argumentShown.size()));
}

}  // namespace

void AlignHelpColumns(QPlainTextEdit& pane, const QString& trigger) {
  const QFontMetricsF metrics(pane.font());
  qreal widest = 0;
  for (const BotCommand& command : BotCommandTable()) {
    widest = std::max(widest, metrics.horizontalAdvance(CommandShown(trigger, command)));
  }
  const qreal indent = metrics.horizontalAdvance(QStringLiteral("xxxx"));
  const qreal column = indent + widest + metrics.horizontalAdvance(QStringLiteral("xx"));
  QList<QTextOption::Tab> stops{QTextOption::Tab(indent, QTextOption::LeftTab)};
  for (int i = 0; i < kStopsAfterCommands; ++i) {
    stops << QTextOption::Tab(column + i / 100.0, QTextOption::LeftTab);
  }
  QTextOption option = pane.document()->defaultTextOption();
  option.setTabs(stops);
  pane.document()->setDefaultTextOption(option);
}

}  // namespace varnek
