#include "gui/UserListTableModel.h"

#include <QTimer>
#include <algorithm>

#include "qt/HubCodec.h"

namespace varnek {
namespace {

// Placed rows announced one by one in a pass of the event loop, before the
// view is reset instead: a single join keeps the selection, a flood into a
// sorted list costs one reset per pass.
constexpr int kPlacedRowsPerPass = 64;

}  // namespace

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
  const int row = index.isValid() ? announced_.ListRow(index.row()) : -1;
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
  placedThisPass_ = 0;
  if (resetDue_) {
    OnListReset(users_);
    return;
  }
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

bool UserListTableModel::MayAnnouncePlacedRow() {
  ScheduleFlush();
  if (resetDue_ || ++placedThisPass_ > kPlacedRowsPerPass) {
    resetDue_ = true;
    return false;
  }
  return true;
}

void UserListTableModel::OnRowsInserted(const UserList&, int first, int count) {
  if (first >= published_) {
    pending_ += count;  // announced with the rows appended in this pass
    ScheduleFlush();
    return;
  }
  // A sorted list's new row among the rows the view shows.
  if (MayAnnouncePlacedRow()) {
    for (int row = first; row < first + count; ++row) {
      AnnounceInsertion(row);
    }
  }
}

void UserListTableModel::OnRowsRemoved(const UserList&, int first, int count) {
  if (resetDue_) {
    return;
  }
  if (first >= published_) {
    pending_ -= count;  // rows the view never saw
    return;
  }
  announced_.Removal(first, count, [&] { beginRemoveRows(QModelIndex(), first, first + count - 1); });
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
  if (row >= published_ || resetDue_) {
    return;  // shown when it is published
  }
  dirtyFirst_ = dirtyFirst_ < 0 ? row : std::min(dirtyFirst_, row);
  dirtyLast_ = std::max(dirtyLast_, row);
  ScheduleFlush();
}

// The row moves within the view's rows, or into or out of the rows the view
// has yet to hear of.
void UserListTableModel::OnRowMoved(const UserList&, int from, int to) {
  const bool wasShown = from < published_;
  const bool isShown = to < published_;
  if ((!wasShown && !isShown) || !MayAnnouncePlacedRow()) {
    return;
  }
  if (wasShown && isShown) {
    announced_.Move(from, to,
                    [&] { beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to); });
    endMoveRows();
    // The rows between moved by one; they are shown again with it.
    if (dirtyFirst_ >= 0) {
      dirtyFirst_ = std::min({dirtyFirst_, from, to});
      dirtyLast_ = std::max({dirtyLast_, from, to});
    }
  } else if (wasShown) {
    AnnounceRemoval(from);
    ++pending_;
  } else {
    --pending_;
    AnnounceInsertion(to);
  }
}

void UserListTableModel::AnnounceRemoval(int row) {
  announced_.Removal(row, 1, [&] { beginRemoveRows(QModelIndex(), row, row); });
  --published_;
  endRemoveRows();
  if (dirtyFirst_ >= 0) {
    dirtyFirst_ = std::min(dirtyFirst_, row);  // the rows below moved up
  }
}

void UserListTableModel::AnnounceInsertion(int row) {
  announced_.Insertion(row, [&] { beginInsertRows(QModelIndex(), row, row); });
  ++published_;
  endInsertRows();
  if (dirtyFirst_ >= 0 && dirtyLast_ >= row) {
    dirtyFirst_ = std::min(dirtyFirst_, row);  // the rows below moved down
    ++dirtyLast_;
  }
}

void UserListTableModel::OnListReset(const UserList&) {
  beginResetModel();
  published_ = users_.Count();
  pending_ = 0;
  dirtyFirst_ = dirtyLast_ = -1;
  resetDue_ = false;
  endResetModel();
}

}  // namespace varnek
