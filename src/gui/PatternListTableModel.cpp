#include "gui/PatternListTableModel.h"

#include "core/store/LangTable.h"
#include "core/users/PatternList.h"
#include "qt/HubCodec.h"

namespace varnek {

namespace {
constexpr int kHitsRefreshMs = 1000;
}

PatternListTableModel::PatternListTableModel(StringListModel& list, const HubCodec& codec, const PatternList* hits,
                                             const LangTable& lang, QObject* parent)
    : QAbstractTableModel(parent), list_(list), codec_(codec), hits_(hits), lang_(lang), shown_(list.Count()) {
  list_.AddListener(this);
  if (hits_ != nullptr) {
    hitsShown_ = hits_->HitsCounted();
    hitsTimer_.setInterval(kHitsRefreshMs);
    connect(&hitsTimer_, &QTimer::timeout, this, &PatternListTableModel::RefreshHits);
    hitsTimer_.start();
  }
}

PatternListTableModel::~PatternListTableModel() {
  list_.RemoveListener(this);
}

void PatternListTableModel::SetTitle(const QString& title) {
  title_ = title;
  // The hits column's title is the language's too.
  emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int PatternListTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shown_;
}

int PatternListTableModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid()) {
    return 0;
  }
  return hits_ != nullptr ? 2 : 1;
}

QVariant PatternListTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) {
    return {};
  }
  if (role == Qt::TextAlignmentRole && index.column() == kHitsColumn) {
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  }
  if (role != Qt::DisplayRole) {
    return {};
  }
  const int row = announced_.ListRow(index.row());
  if (row < 0 || row >= list_.Count()) {
    return {};
  }
  if (index.column() == kHitsColumn) {
    return static_cast<qulonglong>(hits_->HitsOf(list_.At(row)));
  }
  return codec_.ToUnicode(list_.At(row));
}

QVariant PatternListTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
    if (section == kTextColumn) {
      return title_;
    }
    if (section == kHitsColumn && hits_ != nullptr) {
      return codec_.ToUnicode(lang_.Text(LangHitsColumn));
    }
  }
  // The hits count users since the start, the pattern dialog the users
  // online: the title says which, in its tool tip and the status bar.
  if (orientation == Qt::Horizontal && (role == Qt::ToolTipRole || role == Qt::StatusTipRole) &&
      section == kHitsColumn && hits_ != nullptr) {
    return codec_.ToUnicode(lang_.Text(LangHintHitsColumn));
  }
  if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole && section == kHitsColumn) {
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  }
  return QAbstractTableModel::headerData(section, orientation, role);
}

void PatternListTableModel::RefreshHits() {
  const std::uint64_t counted = hits_->HitsCounted();
  if (counted == hitsShown_ || shown_ == 0) {
    return;
  }
  hitsShown_ = counted;
  emit dataChanged(index(0, kHitsColumn), index(shown_ - 1, kHitsColumn), {Qt::DisplayRole});
}

// The list tells of changes after they happened; the view learns of them in
// the same order, with its row count following step by step.
void PatternListTableModel::OnRowsInserted(const StringListModel&, int first, int count) {
  beginInsertRows(QModelIndex(), first, first + count - 1);
  shown_ += count;
  endInsertRows();
}

void PatternListTableModel::OnRowsRemoved(const StringListModel&, int first, int count) {
  announced_.Removal(first, count, [&] { beginRemoveRows(QModelIndex(), first, first + count - 1); });
  shown_ -= count;
  endRemoveRows();
}

void PatternListTableModel::OnRowChanged(const StringListModel&, int row) {
  emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void PatternListTableModel::OnListReset(const StringListModel&) {
  beginResetModel();
  shown_ = list_.Count();
  endResetModel();
}

}  // namespace varnek
