// Page 3: who may give the bot commands, and with which trigger.

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QTableView>

#include "core/model/ControlNames.h"
#include "gui/PageKit.h"

namespace varnek {
namespace {

constexpr int kAllowedColumnWidth = 200;

// The list is as wide as its one column, with room for its scroll bar, so the
// names never hide behind a horizontal one.
void FitToColumn(QTableView* view, int columnWidth) {
  view->setFixedWidth(columnWidth + view->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * view->frameWidth());
}

}  // namespace

QWidget* BuildCommandSettingsPage(PageKit& kit) {
  auto* page = new QWidget;
  page->setObjectName(QString::fromLatin1(ctl::kCommandSettingsTabSheet));
  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(8, 8, 8, 8);
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(8);

  QLabel* trigger = kit.Label(page, ctl::kTriggerLabel);
  QComboBox* triggers = kit.Combo(page, ctl::kTriggerComboBox);
  trigger->setBuddy(triggers);
  auto* triggerRow = new QHBoxLayout;
  triggerRow->setSpacing(8);
  triggerRow->addWidget(trigger);
  triggerRow->addWidget(triggers);
  triggerRow->addStretch(1);
  grid->addLayout(triggerRow, 0, 0);
  grid->addWidget(kit.Check(page, ctl::kCmdOpsCheckBox), 1, 0);
  grid->addWidget(kit.Check(page, ctl::kAllowedCheckBox), 2, 0);
  QTableView* allowed = kit.PatternList(page, ctl::kAllowedListView, kAllowedColumnWidth);
  FitToColumn(allowed, kAllowedColumnWidth);
  grid->addWidget(allowed, 3, 0);
  grid->setRowStretch(3, 1);
  grid->setColumnStretch(1, 1);
  return page;
}

}  // namespace varnek
