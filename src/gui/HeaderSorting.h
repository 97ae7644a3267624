#pragma once

#include <QObject>
#include <functional>

#include "core/text/SizeOrder.h"

class QHeaderView;

namespace varnek {

// The header of a list view as the operator sorts by it: a click on a column
// sorts the list once, ascending; the next click on the same column sorts it
// descending, and so on. The header shows the column and direction while the
// list is in that order; a row added or changed afterwards (the list is not
// kept sorted) takes the indicator away, and the next click sorts ascending.
class HeaderSorting : public QObject {
  Q_OBJECT
 public:
  using Sort = std::function<void(int column, SortDirection direction)>;

  // The header's model is the list's; the sort runs the core's sort of it.
  HeaderSorting(QHeaderView* header, Sort sort);

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
