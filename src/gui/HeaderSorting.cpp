#include "gui/HeaderSorting.h"

#include <QAbstractItemModel>
#include <QHeaderView>

namespace varnek {

HeaderSorting::HeaderSorting(QHeaderView* header, Sort sort, Order order)
    : QObject(header), header_(header), sort_(std::move(sort)) {
  header_->setSectionsClickable(true);
  header_->setSortIndicatorShown(true);
  header_->setSortIndicator(-1, Qt::AscendingOrder);
  connect(header_, &QHeaderView::sectionClicked, this, &HeaderSorting::OnClicked);
  if (order == Order::Kept) {
    return;
  }
  QAbstractItemModel* model = header_->model();
  connect(model, &QAbstractItemModel::rowsInserted, this, &HeaderSorting::Forget);
  // Only a change in the sorted column can break its order: the hits of the
  // pattern lists change beside their texts all the time.
  connect(model, &QAbstractItemModel::dataChanged, this,
          [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
            if (column_ >= topLeft.column() && column_ <= bottomRight.column()) {
              Forget();
            }
          });
  connect(model, &QAbstractItemModel::modelReset, this, &HeaderSorting::Forget);
}

void HeaderSorting::OnClicked(int column) {
  direction_ = column == column_ && direction_ == SortDirection::Ascending ? SortDirection::Descending
                                                                           : SortDirection::Ascending;
  column_ = column;
  sorting_ = true;
  sort_(column, direction_);
  sorting_ = false;
  // Set after the sort: Qt flips the indicator on its own when clicked, and
  // the sort's reset must not take it away.
  header_->setSortIndicator(column_, direction_ == SortDirection::Ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void HeaderSorting::Forget() {
  if (sorting_ || column_ < 0) {
    return;
  }
  column_ = -1;
  header_->setSortIndicator(-1, Qt::AscendingOrder);
}

}  // namespace varnek
