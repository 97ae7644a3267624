#include "gui/UserListLayout.h"

#include <QEvent>
#include <QHeaderView>
#include <QSplitter>
#include <QStringList>
#include <QTableView>
#include <algorithm>

#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"

namespace varnek {
namespace {

// A hub sends its whole user list right after the login, over a few reads;
// the columns are measured once that burst is in rather than after its first
// read, which may hold a handful of users.
constexpr int kFirstFillMs = 300;

// The numbers of a comma-separated setting; none when any part is no number.
QList<int> Numbers(const std::string& text) {
  QList<int> numbers;
  if (text.empty()) {
    return numbers;
  }
  for (const QString& part : QString::fromStdString(text).split(u',')) {
    bool ok = false;
    numbers << part.trimmed().toInt(&ok);
    if (!ok) {
      return {};
    }
  }
  return numbers;
}

std::string Joined(const QList<int>& numbers) {
  QStringList parts;
  for (const int number : numbers) {
    parts << QString::number(number);
  }
  return parts.join(u',').toStdString();
}

}  // namespace

UserListLayout::UserListLayout(ControlModel& controls, Boundary boundary, QTableView* view, QSplitter* splitter)
    : QObject(view),
      widths_(controls.Get(ctl::kUserListColumnWidths)),
      order_(controls.Get(ctl::kUserListColumnOrder)),
      splitterPosition_(controls.Get(ctl::kChatSplitterPosition)),
      boundary_(std::move(boundary)),
      view_(view),
      header_(view->horizontalHeader()),
      splitter_(splitter) {
  header_->setSectionsMovable(true);
  // Qt draws the titles of a selected row's columns in bold, which clips them.
  header_->setHighlightSections(false);
  firstFill_.setSingleShot(true);
  firstFill_.setInterval(kFirstFillMs);
  connect(&firstFill_, &QTimer::timeout, this, &UserListLayout::SizeToContents);
  connect(view->model(), &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first, int last) {
    if (view_ && view_->model()->rowCount() == last - first + 1) {
      OnRowsInserted();  // the list was empty
    }
  });
  // A double click on a divider sizes that column to its contents (QTableView
  // does it) and counts as the operator's width like a drag does.
  connect(header_, &QHeaderView::sectionResized, this, [this] { StoreWidths(); });
  connect(header_, &QHeaderView::sectionMoved, this, [this] { StoreOrder(); });
  connect(splitter, &QSplitter::splitterMoved, this, [this] { StoreSplitter(); });
  splitter->installEventFilter(this);
  QPointer<UserListLayout> self(this);
  widths_.AddReaction([self] {
    if (self && !self->applying_) {
      self->ApplyWidths();
    }
  });
  order_.AddReaction([self] {
    if (self && !self->applying_) {
      self->ApplyOrder();
    }
  });
  splitterPosition_.AddReaction([self] {
    if (self && !self->applying_) {
      self->splitterDue_ = true;
      self->ApplySplitter();
    }
  });
  ApplyOrder();
  ApplyWidths();
}

void UserListLayout::ApplyWidths() {
  const QList<int> widths = Numbers(widths_.Text());
  if (widths.size() != header_->count()) {
    return;  // the window's own widths, until the operator sets some
  }
  applying_ = true;
  for (int column = 0; column < widths.size(); ++column) {
    header_->resizeSection(column, std::max(widths[column], header_->minimumSectionSize()));
  }
  applying_ = false;
}

void UserListLayout::ApplyOrder() {
  const QList<int> order = Numbers(order_.Text());
  QList<int> sorted = order;
  std::sort(sorted.begin(), sorted.end());
  for (int i = 0; i < sorted.size(); ++i) {
    if (sorted[i] != i) {
      return;  // no order of these columns
    }
  }
  if (order.size() != header_->count()) {
    return;
  }
  applying_ = true;
  for (int visual = 0; visual < order.size(); ++visual) {
    header_->moveSection(header_->visualIndex(order[visual]), visual);
  }
  applying_ = false;
}

void UserListLayout::ApplySplitter() {
  const int position = splitterPosition_.Value();
  if (!splitter_ || !splitterDue_ || !splitter_->isVisible()) {
    return;  // a hidden splitter's width is not yet the one it will have
  }
  splitterDue_ = false;
  const int total = splitter_->width() - splitter_->handleWidth();
  // Until the operator places the divider, the chat takes its share of the
  // stretch (three fifths): the user list's own wish, all its columns, would
  // leave the chat a sliver.
  const int wanted = position > 0 ? position : total * kChatShare / (kChatShare + kUserListShare);
  const int chat = std::clamp(wanted, 1, std::max(1, total - 1));
  applying_ = true;
  splitter_->setSizes({chat, std::max(1, total - chat)});
  applying_ = false;
}

bool UserListLayout::eventFilter(QObject* watched, QEvent* event) {
  if (watched == splitter_ && splitterDue_ && (event->type() == QEvent::Show || event->type() == QEvent::Resize)) {
    // Once the layouts have given the splitter its place.
    QTimer::singleShot(0, this, &UserListLayout::ApplySplitter);
  }
  return QObject::eventFilter(watched, event);
}

void UserListLayout::OnRowsInserted() {
  if (Numbers(widths_.Text()).size() != header_->count() && !firstFill_.isActive()) {
    firstFill_.start();
  }
}

void UserListLayout::SizeToContents() {
  if (!view_) {
    return;
  }
  // Measured for this list only: the operator's own widths are what is kept.
  applying_ = true;
  view_->resizeColumnsToContents();
  applying_ = false;
}

void UserListLayout::StoreWidths() {
  if (applying_) {
    return;
  }
  QList<int> widths;
  for (int column = 0; column < header_->count(); ++column) {
    widths << header_->sectionSize(column);
  }
  Store([this, text = Joined(widths)] { widths_.SetText(text); });
}

void UserListLayout::StoreOrder() {
  if (applying_) {
    return;
  }
  QList<int> order;
  for (int visual = 0; visual < header_->count(); ++visual) {
    order << header_->logicalIndex(visual);
  }
  Store([this, text = Joined(order)] { order_.SetText(text); });
}

void UserListLayout::StoreSplitter() {
  if (applying_ || !splitter_) {
    return;
  }
  splitterDue_ = false;
  Store([this, chat = splitter_->sizes().value(0)] { splitterPosition_.SetValue(chat); });
}

void UserListLayout::Store(const std::function<void()>& change) {
  applying_ = true;
  boundary_(change);
  applying_ = false;
}

}  // namespace varnek
