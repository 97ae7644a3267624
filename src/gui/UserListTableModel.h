#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QStringList>

#include "core/users/UserList.h"
#include "gui/AnnouncedChange.h"

namespace varnek {

class HubCodec;

// The user list as a table: eleven columns, one icon per row. A login flood
// appends thousands of rows a second, so appended rows are announced to the
// view in one batch per pass of the event loop, and changed rows as one range;
// the model is never reset for a single row. A sorted list places rows among
// those the view shows: each is announced at once (the selection stays with
// its row), but past a few dozen in one pass the view is reset once instead,
// as every announcement costs a view of a big hub's list real time.
class UserListTableModel : public QAbstractTableModel, public UserList::Listener {
  Q_OBJECT
 public:
  UserListTableModel(UserList& users, const HubCodec& codec, QObject* parent = nullptr);
  ~UserListTableModel() override;

  void SetIcon(const QIcon& icon) { icon_ = icon; }
  void SetColumnTitles(const QStringList& titles);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Announces the rows appended and changed since the last pass.
  void Flush();

  // UserList::Listener
  void OnRowsInserted(const UserList& list, int first, int count) override;
  void OnRowsRemoved(const UserList& list, int first, int count) override;
  void OnRowChanged(const UserList& list, int row) override;
  void OnRowMoved(const UserList& list, int from, int to) override;
  void OnListReset(const UserList& list) override;

 private:
  void ScheduleFlush();
  // Counts one announcement of a placed row; false once the pass has had its
  // share, when the view is reset at the flush instead.
  bool MayAnnouncePlacedRow();
  void AnnounceRemoval(int row);
  void AnnounceInsertion(int row);

  UserList& users_;
  const HubCodec& codec_;
  QIcon icon_;
  QStringList titles_;
  int published_ = 0;  // rows the view knows of; appended rows wait behind them
  int pending_ = 0;
  int dirtyFirst_ = -1;
  int dirtyLast_ = -1;
  AnnouncedChange announced_;
  int placedThisPass_ = 0;
  bool resetDue_ = false;
  bool flushScheduled_ = false;
};

}  // namespace varnek
