#include "gui/UserListTableModel.h"

#include <QTimer>
#include <algorithm>

#include "qt/HubCodec.h"

namespace varnek {

UserListTableModel::UserListTableModel(UserList& users, const HubCodec& codec, QObject* parent)
    : QAbstractTableModel(parent), users_(users), codec_(codec), published_(users.Count()) {
  users_.AddListener(this);
}

UserListTableModel::~UserListTableModel() {
  users_.RemoveListener(this);
}

void UserListTableModel::SetColumnTitles(const QStringList& titles) {
  titles_ = titles;
  emit headerDataChanged(Qt::Horizontal, 0, kUserColumnCount - 1);
}

int UserListTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : published_;
}

int UserListTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kUserColumnCount;
}

QVariant UserListTableModel::data(const QModelIndex& index, int role) const {
  const int row = index.isValid() ? removal_.ListRow(index.row()) : -1;
  if (row < 0 || row >= users_.Count()) {
    return {};
  }
  if (role == Qt::DisplayRole) {
    return codec_.ToUnicode(users_.Row(row).cells[static_cast<std::size_t>(index.column())]);
  }
  if (role == Qt::DecorationRole && index.column() == 0) {
    return icon_;
  }
  if (role == Qt::TextAlignmentRole && (index.column() == static_cast<int>(UserColumn::ShareSize) ||
                                        index.column() == static_cast<int>(UserColumn::ExactShareSize))) {
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  }
  return {};
}

QVariant UserListTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < titles_.size()) {
    return titles_[section];
  }
  return QAbstractTableModel::headerData(section, orientation, role);
}

void UserListTableModel::ScheduleFlush() {
  if (!flushScheduled_) {
    flushScheduled_ = true;
    QTimer::singleShot(0, this, &UserListTableModel::Flush);
  }
}

void UserListTableModel::Flush() {
  flushScheduled_ = false;
  if (pending_ > 0) {
    beginInsertRows(QModelIndex(), published_, published_ + pending_ - 1);
    published_ += pending_;
    pending_ = 0;
    endInsertRows();
  }
  if (dirtyFirst_ >= 0) {
    const int last = std::min(dirtyLast_, published_ - 1);
    if (dirtyFirst_ <= last) {
      emit dataChanged(index(dirtyFirst_, 0), index(last, kUserColumnCount - 1));
    }
    dirtyFirst_ = dirtyLast_ = -1;
  }
}

void UserListTableModel::OnRowsInserted(const UserList&, int, int count) {
  // The list only ever appends, so new rows wait at the end.
  pending_ += count;
  ScheduleFlush();
}

void UserListTableModel::OnRowsRemoved(const UserList&, int first, int count) {
  if (first >= published_) {
    pending_ -= count;  // rows the view never saw
    return;
  }
  removal_.During(first, count, [&] { beginRemoveRows(QModelIndex(), first, first + count - 1); });
  published_ -= count;
  endRemoveRows();
  // Changed rows below the removed ones move up with them; changed rows
  // above keep their numbers.
  if (dirtyLast_ >= first) {
    dirtyFirst_ = dirtyFirst_ >= first + count ? dirtyFirst_ - count : std::min(dirtyFirst_, first);
    dirtyLast_ = std::max(dirtyLast_ - count, first - 1);
    if (dirtyFirst_ > dirtyLast_) {
      dirtyFirst_ = dirtyLast_ = -1;
    }
  }
}

void UserListTableModel::OnRowChanged(const UserList&, int row) {
  if (row >= published_) {
    return;  // shown when it is published
  }
  dirtyFirst_ = dirtyFirst_ < 0 ? row : std::min(dirtyFirst_, row);
  dirtyLast_ = std::max(dirtyLast_, row);
  ScheduleFlush();
}

void UserListTableModel::OnListReset(const UserList&) {
  beginResetModel();
  published_ = users_.Count();
  pending_ = 0;
  dirtyFirst_ = dirtyLast_ = -1;
  endResetModel();
}

}  // namespace varnek
