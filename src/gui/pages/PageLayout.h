#pragma once

class QGridLayout;
class QTableView;
class QVBoxLayout;
class QWidget;

namespace varnek {

// The room, in pixels, around a page's groups and between their controls:
// one figure for every page, so the pages line up when the operator flips
// through them.
inline constexpr int kGap = 8;

// A grid on the widget with the page's margins and gaps.
QGridLayout* GridIn(QWidget* parent);

// A column on the widget with the page's margins and gaps.
QVBoxLayout* ColumnIn(QWidget* parent);

// The list is as wide as its one column, with room for its scroll bar, so
// the names never hide behind a horizontal one.
void FitToColumn(QTableView* view, int columnWidth);

}  // namespace varnek
