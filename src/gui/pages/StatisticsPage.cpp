// Page 8: the clock, the uptimes and the count of every protocol command the
// bot has received and sent. The timer rewrites the labels every second.

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstddef>
#include <iterator>
#include <span>

#include "core/BotActions.h"
#include "core/model/ControlNames.h"
#include "core/model/ProtocolCounters.h"
#include "gui/PageKit.h"
#include "gui/pages/PageLayout.h"

namespace varnek {
namespace {

// Room between the counter columns, so one column's numbers never run into
// the next column's names.
constexpr int kColumnGap = 32;

constexpr std::size_t kReceivedRows = (std::size(kReceivedCounterRows) + 1) / 2;

QLabel* Heading(PageKit& kit, QWidget* page, const char* name) {
  QLabel* label = kit.Label(page, name);
  QFont bold;  // only the weight is set: the rest follows the window's font
  bold.setBold(true);
  label->setFont(bold);
  return label;
}

// Places the labels one below the other from the row given, in one column.
template <typename Counter>
void AddColumn(PageKit& kit, QWidget* page, QGridLayout* grid, std::span<const CounterRow<Counter>> rows, int firstRow,
               int column) {
  int gridRow = firstRow;
  for (const CounterRow<Counter>& row : rows) {
    grid->addWidget(kit.Label(page, row.label), gridRow++, column);
  }
}

QGridLayout* BuildCounters(PageKit& kit, QWidget* page) {
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(kColumnGap);
  grid->setVerticalSpacing(4);
  // The received commands take two sub-columns, the sent ones a third.
  grid->addWidget(Heading(kit, page, ctl::kReceivedLabel), 0, 0, 1, 2);
  const std::span<const CounterRow<ReceivedCounter>> received(kReceivedCounterRows);
  AddColumn(kit, page, grid, received.first(kReceivedRows), 1, 0);
  AddColumn(kit, page, grid, received.subspan(kReceivedRows), 1, 1);
  grid->addWidget(Heading(kit, page, ctl::kSentLabel), 0, 2);
  AddColumn(kit, page, grid, std::span<const CounterRow<SentCounter>>(kSentCounterRows), 1, 2);
  // Fixed minimum widths keep the columns still while the counts grow.
  for (int column = 0; column < 3; ++column) {
    grid->setColumnMinimumWidth(column, 180);
  }
  grid->setColumnStretch(3, 1);
  return grid;
}

}  // namespace

QWidget* BuildStatisticsPage(PageKit& kit) {
  auto* page = new QWidget;
  page->setObjectName(QString::fromLatin1(ctl::kStatisticsTabSheet));
  auto* column = new QVBoxLayout(page);
  column->setContentsMargins(kGap, kGap, kGap, kGap);
  column->setSpacing(4);
  for (const char* name : {ctl::kLocalTimeLabel, ctl::kUptimeLabel, ctl::kSystemUptimeLabel, ctl::kDetectionsLabel,
                           ctl::kKicksNotCarriedOutLabel}) {
    column->addWidget(kit.Label(page, name));
  }
  column->addSpacing(kGap);
  auto* line = new QFrame(page);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  column->addWidget(line);
  column->addSpacing(kGap);
  column->addLayout(BuildCounters(kit, page));
  column->addStretch(1);

  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(kit.Button(page, ctl::kClearStatisticsButton, [&kit] { kit.bot.ClearStatistics(); }));
  column->addLayout(bottom);
  return page;
}

}  // namespace varnek
