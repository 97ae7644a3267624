#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <vector>

class QHeaderView;
class QTableView;

namespace varnek {

// Sizes the columns of a table that the operator has not sized by hand to
// their title and to their texts, and again as rows arrive and change: a hub
// may send most of its users long after the first. A column only grows while
// the list has rows and goes back to its title's width when the list empties.
//
// A big hub's list has tens of thousands of rows and a login brings them by
// the thousand, so only a sample is measured: a few dozen of the rows that
// arrived or changed, at most a few times a second.
class ColumnFitting : public QObject {
  Q_OBJECT
 public:
  explicit ColumnFitting(QTableView* view);

  // A column the operator sized keeps his width; one given back to the
  // window waits for its next measure, or a Refit.
  void SetSizedByHand(int column, bool byHand);
  bool SizedByHand(int column) const;
  // Fits a column of the window's anew, to its title and a sample of the
  // whole list, narrower too.
  void Refit(int column);
  // Whether a width being set is the window's own (not the operator's).
  bool Resizing() const { return resizing_; }

 private:
  void OnRowsArrived(int first, int last);
  void OnReset();
  void Collect(int first, int last);
  void ScheduleMeasure();
  void Measure();
  void Apply(int column);
  int Widest() const;

  QPointer<QTableView> view_;
  QHeaderView* header_;
  std::vector<bool> byHand_;        // by logical column
  std::vector<int> contentWidths_;  // the widest sampled text of each column
  std::vector<int> candidates_;     // rows that arrived or changed since the last measure
  QTimer measure_;
  QElapsedTimer sinceMeasure_;
  bool resizing_ = false;
};

}  // namespace varnek
