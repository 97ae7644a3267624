#include "gui/pages/PageLayout.h"

#include <QGridLayout>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace varnek {

QGridLayout* GridIn(QWidget* parent) {
  auto* grid = new QGridLayout(parent);
  grid->setContentsMargins(kGap, kGap, kGap, kGap);
  grid->setHorizontalSpacing(kGap);
  grid->setVerticalSpacing(kGap);
  return grid;
}

QVBoxLayout* ColumnIn(QWidget* parent) {
  auto* column = new QVBoxLayout(parent);
  column->setContentsMargins(kGap, kGap, kGap, kGap);
  column->setSpacing(kGap);
  return column;
}

void FitToColumn(QTableView* view, int columnWidth) {
  view->setFixedWidth(columnWidth + view->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * view->frameWidth());
}

}  // namespace varnek
