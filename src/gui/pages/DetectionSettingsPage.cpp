// Page 4: who is spared by the detections, and the master switch of them all.

#include <QCheckBox>
#include <QGridLayout>
#include <QStyle>
#include <QTableView>

#include "core/model/ControlNames.h"
#include "gui/PageKit.h"
#include "gui/pages/PageLayout.h"

namespace varnek {
namespace {

constexpr int kProtectedColumnWidth = 225;

}  // namespace

QWidget* BuildDetectionSettingsPage(PageKit& kit) {
  auto* page = new QWidget;
  page->setObjectName(QString::fromLatin1(ctl::kDetectionSettingsTabSheet));
  auto* grid = GridIn(page);

  QTableView* protectedUsers = kit.PatternList(page, ctl::kProtectedListView, kProtectedColumnWidth);
  FitToColumn(protectedUsers, kProtectedColumnWidth);
  grid->addWidget(protectedUsers, 0, 0, 5, 1);
  grid->addWidget(kit.Check(page, ctl::kProtectedUsersCheckBox), 0, 1);
  grid->addWidget(kit.Check(page, ctl::kProtectedOpsCheckBox), 1, 1);
  grid->addWidget(kit.Check(page, ctl::kKickToStatusCheckBox), 2, 1);
  grid->addWidget(kit.Check(page, ctl::kLimitFromConnectionCheckBox), 3, 1);
  grid->setRowStretch(4, 1);
  grid->setColumnStretch(1, 1);
  // The master switch sits apart at the bottom of the page.
  grid->addWidget(kit.Check(page, ctl::kDetectionsCheckBox), 5, 0, 1, 2);
  return page;
}

}  // namespace varnek
