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
#include "gui/pages/PageLayout.h"

namespace varnek {
namespace {

constexpr int kAllowedColumnWidth = 200;

}  // namespace

QWidget* BuildCommandSettingsPage(PageKit& kit) {
  auto* page = new QWidget;
  page->setObjectName(QString::fromLatin1(ctl::kCommandSettingsTabSheet));
  auto* grid = GridIn(page);

  QLabel* trigger = kit.Label(page, ctl::kTriggerLabel);
  QComboBox* triggers = kit.Combo(page, ctl::kTriggerComboBox);
  trigger->setBuddy(triggers);
  auto* triggerRow = new QHBoxLayout;
  triggerRow->setSpacing(kGap);
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
