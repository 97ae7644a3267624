#include "gui/PatternListTableModel.h"

#include "qt/HubCodec.h"

namespace varnek {

PatternListTableModel::PatternListTableModel(StringListModel& list, const HubCodec& codec, QObject* parent)
    : QAbstractTableModel(parent), list_(list), codec_(codec), shown_(list.Count()) {
  list_.AddListener(this);
}

PatternListTableModel::~PatternListTableModel() {
  list_.RemoveListener(this);
}

void PatternListTableModel::SetTitle(const QString& title) {
  title_ = title;
  emit headerDataChanged(Qt::Horizontal, 0, 0);
}

int PatternListTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shown_;
}

int PatternListTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 1;
}

QVariant PatternListTableModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) {
    return {};
  }
  const int row = removal_.ListRow(index.row());
  if (row < 0 || row >= list_.Count()) {
    return {};
  }
  return codec_.ToUnicode(list_.At(row));
}

QVariant PatternListTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section == 0) {
    return title_;
  }
  return QAbstractTableModel::headerData(section, orientation, role);
}

// The list tells of changes after they happened; the view learns of them in
// the same order, with its row count following step by step.
void PatternListTableModel::OnRowsInserted(const StringListModel&, int first, int count) {
  beginInsertRows(QModelIndex(), first, first + count - 1);
  shown_ += count;
  endInsertRows();
}

void PatternListTableModel::OnRowsRemoved(const StringListModel&, int first, int count) {
  removal_.During(first, count, [&] { beginRemoveRows(QModelIndex(), first, first + count - 1); });
  shown_ -= count;
  endRemoveRows();
}

void PatternListTableModel::OnRowChanged(const StringListModel&, int row) {
  emit dataChanged(index(row, 0), index(row, 0));
}

void PatternListTableModel::OnListReset(const StringListModel&) {
  beginResetModel();
  shown_ = list_.Count();
  endResetModel();
}

}  // namespace varnek
