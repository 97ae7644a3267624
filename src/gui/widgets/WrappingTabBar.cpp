#include "gui/widgets/WrappingTabBar.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QShortcutEvent>
#include <QStatusTipEvent>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QTabBar>
#include <QToolTip>
#include <algorithm>
#include <numeric>

namespace varnek {
namespace {

QStyleOptionTab::TabPosition PositionInRow(bool first, bool last) {
  if (first && last) {
    return QStyleOptionTab::OnlyOneTab;
  }
  if (first) {
    return QStyleOptionTab::Beginning;
  }
  return last ? QStyleOptionTab::End : QStyleOptionTab::Middle;
}

// Splits the widths into rows no wider than the limit (a tab wider than the
// limit gets a row of its own); returns the index of each row's first tab.
QVector<int> RowStarts(const QVector<int>& widths, int limit) {
  QVector<int> starts;
  int used = 0;
  for (int i = 0; i < widths.size(); ++i) {
    if (starts.isEmpty() || used + widths[i] > limit) {
      starts.push_back(i);
      used = 0;
    }
    used += widths[i];
  }
  return starts;
}

}  // namespace

WrappingTabBar::WrappingTabBar(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::TabFocus);
  setMouseTracking(true);
  // Not Fixed: a fixed height would cap the rows at the one-row size hint.
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

int WrappingTabBar::AddTab(const QString& text) {
  texts_ << QString();
  hints_ << QString();
  shortcuts_ << 0;
  if (current_ < 0) {
    current_ = 0;
  }
  SetTabText(Count() - 1, text);
  Relayout();
  return Count() - 1;
}

QString WrappingTabBar::TabText(int index) const {
  return index >= 0 && index < Count() ? texts_[index] : QString();
}

void WrappingTabBar::SetTabText(int index, const QString& text) {
  if (index < 0 || index >= Count() || texts_[index] == text) {
    return;
  }
  texts_[index] = text;
  if (shortcuts_[index] != 0) {
    releaseShortcut(shortcuts_[index]);
  }
  const QKeySequence key = QKeySequence::mnemonic(text);
  shortcuts_[index] = key.isEmpty() ? 0 : grabShortcut(key);
  Relayout();
}

QString WrappingTabBar::TabHint(int index) const {
  return index >= 0 && index < Count() ? hints_[index] : QString();
}

void WrappingTabBar::SetTabHint(int index, const QString& hint) {
  if (index >= 0 && index < Count()) {
    hints_[index] = hint;
  }
}

int WrappingTabBar::NextWithSameKey(int index) const {
  const QKeySequence key = QKeySequence::mnemonic(texts_[index]);
  for (int step = 1; step <= Count(); ++step) {
    const int candidate = (current_ + step) % Count();
    if (QKeySequence::mnemonic(texts_[candidate]) == key) {
      return candidate;
    }
  }
  return index;
}

void WrappingTabBar::SetCurrentIndex(int index) {
  if (index < 0 || index >= Count() || index == current_) {
    return;
  }
  current_ = index;
  Relayout();  // its row moves next to the page
  emit currentChanged(index);
}

QRect WrappingTabBar::TabRect(int index) const {
  return index >= 0 && index < rects_.size() ? rects_[index] : QRect();
}

int WrappingTabBar::TabAt(const QPoint& position) const {
  for (int i = 0; i < rects_.size(); ++i) {
    if (rects_[i].contains(position)) {
      return i;
    }
  }
  return -1;
}

QSize WrappingTabBar::TabSize(int index) const {
  QStyleOptionTab option;
  option.initFrom(this);
  option.shape = QTabBar::RoundedNorth;
  option.text = texts_[index];
  const int hSpace = style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, this);
  const int vSpace = style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, this);
  const QSize text = fontMetrics().size(Qt::TextShowMnemonic, option.text);
  return style()->sizeFromContents(QStyle::CT_TabBarTab, &option,
                                   QSize(text.width() + hSpace, fontMetrics().height() + vSpace), this);
}

QVector<QRect> WrappingTabBar::LayOut(int width, int* rows) const {
  QVector<int> widths;
  int height = 0;
  for (int i = 0; i < Count(); ++i) {
    const QSize size = TabSize(i);
    widths << size.width();
    height = std::max(height, size.height());
  }
  const int total = std::accumulate(widths.begin(), widths.end(), 0);
  // As few rows as the width allows, filled evenly so that no row is left
  // with a tab or two stretched across the whole width.
  const int rowsNeeded = static_cast<int>(RowStarts(widths, width).size());
  QVector<int> starts;
  for (int limit = total / std::max(rowsNeeded, 1);; limit += 4) {
    starts = RowStarts(widths, limit);
    if (starts.size() <= rowsNeeded || limit >= width) {
      break;
    }
  }
  *rows = std::max(1, static_cast<int>(starts.size()));
  // The chosen tab's row goes below the others, next to the page; the
  // others keep their order above it.
  int chosenRow = 0;
  for (int row = 0; row < starts.size(); ++row) {
    if (starts[row] <= current_) {
      chosenRow = row;
    }
  }
  QVector<QRect> rects(Count());
  for (int row = 0; row < starts.size(); ++row) {
    const int first = starts[row];
    const int end = row + 1 < starts.size() ? starts[row + 1] : Count();
    const int shownRow = row == chosenRow ? static_cast<int>(starts.size()) - 1 : (row < chosenRow ? row : row - 1);
    const int used = std::accumulate(widths.begin() + first, widths.begin() + end, 0);
    // Several rows fill the width, as one block; a single row keeps its
    // tabs at their own widths.
    const int spare = starts.size() > 1 ? std::max(0, width - used) : 0;
    int x = 0;
    for (int i = first; i < end; ++i) {
      const int share = spare * (i - first + 1) / (end - first) - spare * (i - first) / (end - first);
      rects[i] = QRect(x, shownRow * height, widths[i] + share, height);
      x += rects[i].width();
    }
  }
  return rects;
}

void WrappingTabBar::Relayout() {
  const int before = rowCount_;
  rects_ = LayOut(width(), &rowCount_);
  if (rowCount_ != before) {
    updateGeometry();
  }
  update();
}

QSize WrappingTabBar::sizeHint() const {
  int width = 0;
  int height = 0;
  for (int i = 0; i < Count(); ++i) {
    const QSize size = TabSize(i);
    width += size.width();
    height = std::max(height, size.height());
  }
  return {width, height};
}

QSize WrappingTabBar::minimumSizeHint() const {
  // As narrow as the widest tab; the rows a width needs come from
  // heightForWidth, so the window's least height does not count a row per tab.
  QSize least;
  for (int i = 0; i < Count(); ++i) {
    least = least.expandedTo(TabSize(i));
  }
  return least;
}

int WrappingTabBar::heightForWidth(int width) const {
  int rows = 1;
  const QVector<QRect> rects = LayOut(width, &rows);
  return rects.isEmpty() ? 0 : rows * rects.first().height();
}

void WrappingTabBar::paintEvent(QPaintEvent* /*event*/) {
  QStylePainter painter(this);
  auto draw = [&](int i) {
    QStyleOptionTab option;
    option.initFrom(this);
    option.state &= ~QStyle::State_HasFocus;
    option.shape = QTabBar::RoundedNorth;
    option.text = texts_[i];
    option.rect = rects_[i];
    option.tabIndex = i;
    const bool first = i == 0 || rects_[i - 1].y() != rects_[i].y();
    const bool last = i + 1 == Count() || rects_[i + 1].y() != rects_[i].y();
    option.position = PositionInRow(first, last);
    if (!first && i - 1 == current_) {
      option.selectedPosition = QStyleOptionTab::PreviousIsSelected;
    } else if (!last && i + 1 == current_) {
      option.selectedPosition = QStyleOptionTab::NextIsSelected;
    }
    if (i == current_) {
      option.state |= QStyle::State_Selected;
      if (hasFocus()) {
        option.state |= QStyle::State_HasFocus;
      }
    }
    if (i == hovered_ && isEnabled()) {
      option.state |= QStyle::State_MouseOver;
    }
    painter.drawControl(QStyle::CE_TabBarTab, option);
  };
  // Row by row from the top, the chosen tab last of all: styles draw it over
  // its neighbours' edges and a little below, onto the page's frame.
  QVector<int> order(Count());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [this](int a, int b) { return rects_[a].y() < rects_[b].y(); });
  for (const int i : order) {
    if (i != current_) {
      draw(i);
    }
  }
  if (current_ >= 0 && current_ < Count()) {
    draw(current_);
  }
}

void WrappingTabBar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Relayout();
}

void WrappingTabBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  SetCurrentIndex(TabAt(event->position().toPoint()));
}

void WrappingTabBar::mouseMoveEvent(QMouseEvent* event) {
  SetHovered(TabAt(event->position().toPoint()));
}

void WrappingTabBar::leaveEvent(QEvent* /*event*/) {
  SetHovered(-1);
}

// The hint of the tab under the mouse goes to the status bar, as a widget's
// status tip does (the event travels up to the window).
void WrappingTabBar::SetHovered(int index) {
  if (index == hovered_) {
    return;
  }
  const bool hadHint = !TabHint(hovered_).isEmpty();
  hovered_ = index;
  update();
  if (hadHint || !TabHint(index).isEmpty()) {
    QStatusTipEvent tip(TabHint(index));
    QCoreApplication::sendEvent(this, &tip);
  }
}

bool WrappingTabBar::event(QEvent* event) {
  if (event->type() == QEvent::Shortcut) {
    const int id = static_cast<QShortcutEvent*>(event)->shortcutId();
    const int index = static_cast<int>(shortcuts_.indexOf(id));
    if (index >= 0) {
      SetCurrentIndex(NextWithSameKey(index));
      return true;
    }
  } else if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QString hint = TabHint(TabAt(help->pos()));
    if (hint.isEmpty()) {
      QToolTip::hideText();
      event->ignore();
    } else {
      QToolTip::showText(help->globalPos(), hint, this, TabRect(TabAt(help->pos())));
    }
    return true;
  }
  return QWidget::event(event);
}

void WrappingTabBar::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
      SetCurrentIndex(current_ - 1);
      break;
    case Qt::Key_Right:
    case Qt::Key_Down:
      SetCurrentIndex(current_ + 1);
      break;
    case Qt::Key_Home:
      SetCurrentIndex(0);
      break;
    case Qt::Key_End:
      SetCurrentIndex(Count() - 1);
      break;
    default:
      event->ignore();
  }
}

void WrappingTabBar::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
    Relayout();
    updateGeometry();
  }
}

}  // namespace varnek
