#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QStringList>

#include "core/users/UserList.h"
#include "gui/AnnouncedRemoval.h"

namespace varnek {

class HubCodec;

// The user list as a table: eleven columns, one icon per row. A login flood
// appends thousands of rows a second, so appended rows are announced to the
// view in one batch per pass of the event loop, and changed rows as one range;
// the model is never reset for a single row.
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
  void OnListReset(const UserList& list) override;

 private:
  void ScheduleFlush();

  UserList& users_;
  const HubCodec& codec_;
  QIcon icon_;
  QStringList titles_;
  int published_ = 0;  // rows the view knows of; appended rows wait behind them
  int pending_ = 0;
  int dirtyFirst_ = -1;
  int dirtyLast_ = -1;
  AnnouncedRemoval removal_;
  bool flushScheduled_ = false;
};

}  // namespace varnek
