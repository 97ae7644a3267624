// Page 4: who is spared by the detections, and the master switch of them all.

#include <QCheckBox>
#include <QGridLayout>
#include <QStyle>
#include <QTableView>

#include "core/model/ControlNames.h"
#include "gui/PageKit.h"

namespace varnek {
namespace {

constexpr int kProtectedColumnWidth = 225;

// The list is as wide as its one column, with room for its scroll bar, so the
// names never hide behind a horizontal one.
void FitToColumn(QTableView* view, int columnWidth) {
  view->setFixedWidth(columnWidth + view->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * view->frameWidth());
}

}  // namespace

QWidget* BuildDetectionSettingsPage(PageKit& kit) {
  auto* page = new QWidget;
  page->setObjectName(QString::fromLatin1(ctl::kDetectionSettingsTabSheet));
  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(8, 8, 8, 8);
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(8);

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
