#include "gui/ColumnFitting.h"

#include <QHeaderView>
#include <QTableView>
#include <algorithm>

namespace varnek {
namespace {

// Rows measured at a time, out of those that arrived or changed: enough to
// meet the long tags and descriptions of a hub's list, few enough that a
// measure costs a few milliseconds whatever the list's size.
constexpr int kSampledRows = 48;
// Candidates kept between two measures; beyond this every other is dropped,
// so a flood leaves a sample spread over all of it.
constexpr std::size_t kKeptCandidates = std::size_t{4} * kSampledRows;
// Measures come at most this often while rows keep arriving.
constexpr int kMeasureEveryMs = 500;
// No column grows wider than this many average characters by itself: one
// user's endless description must not push the others out of sight.
constexpr int kWidestInCharacters = 60;

// `count` rows spread evenly over first..last (all of them when fewer).
template <typename Add>
void Spread(int first, int last, int count, Add add) {
  const long long rows = last - first + 1;
  const long long take = std::min<long long>(rows, count);
  for (long long i = 0; i < take; ++i) {
    add(first + static_cast<int>(i * rows / take));
  }
}

}  // namespace

ColumnFitting::ColumnFitting(QTableView* view) : QObject(view), view_(view), header_(view->horizontalHeader()) {
  QAbstractItemModel* model = view->model();
  const auto columns = static_cast<std::size_t>(model->columnCount());
  byHand_.assign(columns, false);
  contentWidths_.assign(columns, 0);
  measure_.setSingleShot(true);
  connect(&measure_, &QTimer::timeout, this, &ColumnFitting::Measure);
  connect(model, &QAbstractItemModel::rowsInserted, this,
          [this](const QModelIndex&, int first, int last) { OnRowsArrived(first, last); });
  connect(model, &QAbstractItemModel::dataChanged, this,
          [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
            OnRowsArrived(topLeft.row(), bottomRight.row());
          });
  connect(model, &QAbstractItemModel::modelReset, this, &ColumnFitting::OnReset);
  // New titles (another language) may need more room, or less.
  connect(model, &QAbstractItemModel::headerDataChanged, this, [this] {
    for (int column = 0; column < static_cast<int>(byHand_.size()); ++column) {
      Apply(column);
    }
  });
}

void ColumnFitting::SetSizedByHand(int column, bool byHand) {
  if (column >= 0 && column < static_cast<int>(byHand_.size())) {
    byHand_[static_cast<std::size_t>(column)] = byHand;
  }
}

void ColumnFitting::Refit(int column) {
  if (column < 0 || column >= static_cast<int>(byHand_.size()) || SizedByHand(column)) {
    return;
  }
  contentWidths_[static_cast<std::size_t>(column)] = 0;
  Collect(0, view_ ? view_->model()->rowCount() - 1 : -1);
  Measure();
}

bool ColumnFitting::SizedByHand(int column) const {
  return column >= 0 && column < static_cast<int>(byHand_.size()) && byHand_[static_cast<std::size_t>(column)];
}

void ColumnFitting::OnRowsArrived(int first, int last) {
  Collect(first, last);
  ScheduleMeasure();
}

// A sort or a reset of the view brings no new texts, but after a lost
// connection the list starts again from its titles.
void ColumnFitting::OnReset() {
  candidates_.clear();
  const int rows = view_ ? view_->model()->rowCount() : 0;
  if (rows == 0) {
    std::fill(contentWidths_.begin(), contentWidths_.end(), 0);
    for (int column = 0; column < static_cast<int>(byHand_.size()); ++column) {
      Apply(column);
    }
    return;
  }
  OnRowsArrived(0, rows - 1);
}

void ColumnFitting::Collect(int first, int last) {
  if (first > last) {
    return;
  }
  Spread(first, last, kSampledRows, [this](int row) { candidates_.push_back(row); });
  if (candidates_.size() > kKeptCandidates) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < candidates_.size(); i += 2) {
      candidates_[kept++] = candidates_[i];
    }
    candidates_.resize(kept);
  }
}

void ColumnFitting::ScheduleMeasure() {
  if (measure_.isActive()) {
    return;
  }
  const qint64 since = sinceMeasure_.isValid() ? sinceMeasure_.elapsed() : kMeasureEveryMs;
  measure_.start(static_cast<int>(std::max<qint64>(0, kMeasureEveryMs - since)));
}

void ColumnFitting::Measure() {
  measure_.stop();
  sinceMeasure_.start();
  std::vector<int> sample;
  Spread(0, static_cast<int>(candidates_.size()) - 1, kSampledRows,
         [this, &sample](int at) { sample.push_back(candidates_[static_cast<std::size_t>(at)]); });
  candidates_.clear();
  if (!view_) {
    return;
  }
  const QAbstractItemModel* model = view_->model();
  const int rows = model->rowCount();
  for (int column = 0; column < static_cast<int>(byHand_.size()); ++column) {
    if (SizedByHand(column) || header_->isSectionHidden(column)) {
      continue;
    }
    int& widest = contentWidths_[static_cast<std::size_t>(column)];
    for (const int row : sample) {
      if (row < rows) {
        widest = std::max(widest, view_->sizeHintForIndex(model->index(row, column)).width());
      }
    }
    Apply(column);
  }
}

// The title always fits; the texts as far as the widest a column takes.
void ColumnFitting::Apply(int column) {
  if (SizedByHand(column)) {
    return;
  }
  const int content = std::min(contentWidths_[static_cast<std::size_t>(column)], Widest());
  const int width = std::max(header_->sectionSizeHint(column), content);
  if (header_->sectionSize(column) != width) {
    resizing_ = true;
    header_->resizeSection(column, width);
    resizing_ = false;
  }
}

int ColumnFitting::Widest() const {
  return view_ ? view_->fontMetrics().averageCharWidth() * kWidestInCharacters : 0;
}

}  // namespace varnek
