#include "gui/UserListLayout.h"

#include <QEvent>
#include <QHeaderView>
#include <QSplitter>
#include <QStringList>
#include <QTableView>
#include <QTimer>
#include <algorithm>

#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "gui/ColumnFitting.h"

namespace varnek {
namespace {

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
      splitter_(splitter),
      fitting_(new ColumnFitting(view)) {
  header_->setSectionsMovable(true);
  // Qt draws the titles of a selected row's columns in bold, which clips them.
  header_->setHighlightSections(false);
  connect(header_, &QHeaderView::sectionResized, this, [this](int column) { OnSizedByHand(column); });
  // QTableView sizes a column to the rows in sight on a double click on its
  // divider; here the column goes back to the window's sizing instead.
  disconnect(header_, SIGNAL(sectionHandleDoubleClicked(int)), view, nullptr);
  connect(header_, &QHeaderView::sectionHandleDoubleClicked, this, &UserListLayout::OnGivenBack);
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

// A width of 0 (or none at all) leaves the column to the window.
void UserListLayout::ApplyWidths() {
  QList<int> widths = Numbers(widths_.Text());
  if (widths.size() != header_->count()) {
    widths = QList<int>(header_->count(), 0);
  }
  applying_ = true;
  for (int column = 0; column < widths.size(); ++column) {
    const bool byHand = widths[column] > 0;
    const bool givenBack = !byHand && fitting_->SizedByHand(column);
    fitting_->SetSizedByHand(column, byHand);
    if (byHand) {
      header_->resizeSection(column, std::max(widths[column], header_->minimumSectionSize()));
    } else if (givenBack) {
      fitting_->Refit(column);
    }
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

void UserListLayout::OnSizedByHand(int column) {
  if (applying_ || fitting_->Resizing()) {
    return;
  }
  fitting_->SetSizedByHand(column, true);
  StoreWidths();
}

void UserListLayout::OnGivenBack(int column) {
  applying_ = true;
  fitting_->SetSizedByHand(column, false);
  fitting_->Refit(column);
  applying_ = false;
  StoreWidths();
}

void UserListLayout::StoreWidths() {
  QList<int> widths;
  bool anyByHand = false;
  for (int column = 0; column < header_->count(); ++column) {
    const bool byHand = fitting_->SizedByHand(column);
    anyByHand = anyByHand || byHand;
    widths << (byHand ? header_->sectionSize(column) : 0);
  }
  Store([this, text = anyByHand ? Joined(widths) : std::string()] { widths_.SetText(text); });
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
