#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QHeaderView;
class QSplitter;
class QTableView;

namespace varnek {

class ColumnFitting;
class Control;
class ControlModel;

// How the chat and the user list share the splitter's width: as the
// splitter's stretch when the window grows, and at first, until the operator
// places the divider.
inline constexpr int kChatShare = 3;
inline constexpr int kUserListShare = 2;

// The user list's columns and the splitter between it and the chat pane.
// Columns are sized to their titles and contents as rows arrive
// (ColumnFitting) until the operator sizes one by hand; a double click on a
// divider gives that column back to the window. What the operator sets by
// hand (the widths, the order of the columns, the splitter) goes into the
// settings and comes back at the next start; a column the window sizes is
// stored as width 0. Until the operator moves the splitter, the chat has
// its share of it.
class UserListLayout : public QObject {
  Q_OBJECT
 public:
  // Runs a change of the settings behind the program's error boundary.
  using Boundary = std::function<void(const std::function<void()>&)>;

  UserListLayout(ControlModel& controls, Boundary boundary, QTableView* view, QSplitter* splitter);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ApplyWidths();
  void ApplyOrder();
  void ApplySplitter();
  void OnSizedByHand(int column);
  void OnGivenBack(int column);
  void StoreWidths();
  void StoreOrder();
  void StoreSplitter();
  void Store(const std::function<void()>& change);

  Control& widths_;
  Control& order_;
  Control& splitterPosition_;
  Boundary boundary_;
  QPointer<QTableView> view_;
  QHeaderView* header_;
  QPointer<QSplitter> splitter_;
  ColumnFitting* fitting_;
  bool applying_ = false;    // the window itself is changing the layout
  bool splitterDue_ = true;  // the splitter waits for its first real width
};

}  // namespace varnek
