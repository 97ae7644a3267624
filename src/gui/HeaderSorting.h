#pragma once

#include <QObject>
#include <functional>

#include "core/text/SizeOrder.h"

class QHeaderView;

namespace varnek {

// The header of a list view as the operator sorts by it: a click on a column
// sorts the list, ascending; the next click on the same column sorts it
// descending, and so on. The header shows the column and direction while the
// list is in that order. A list sorted once (the pattern lists) loses the
// indicator with the next row added or changed, and the next click sorts
// ascending; a list that keeps its order (the user list) keeps it.
class HeaderSorting : public QObject {
  Q_OBJECT
 public:
  using Sort = std::function<void(int column, SortDirection direction)>;
  enum class Order { SortedOnce, Kept };

  // The header's model is the list's; the sort runs the core's sort of it.
  HeaderSorting(QHeaderView* header, Sort sort, Order order = Order::SortedOnce);

 private:
  void OnClicked(int column);
  void Forget();

  QHeaderView* header_;
  Sort sort_;
  int column_ = -1;
  SortDirection direction_ = SortDirection::Ascending;
  bool sorting_ = false;  // the list's reset comes from our own sort
};

}  // namespace varnek
