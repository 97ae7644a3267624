#include "gui/widgets/PageTabs.h"

#include <QKeyEvent>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>
#include <QVBoxLayout>

#include "gui/widgets/WrappingTabBar.h"

namespace varnek {

PageTabs::PageTabs(QWidget* parent)
    : QWidget(parent), bar_(new WrappingTabBar(this)), stack_(new QStackedWidget(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(bar_);
  layout->addWidget(stack_, 1);
  // The pages sit inside the frame this widget draws around them.
  const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
  stack_->setContentsMargins(frame, frame, frame, frame);
  setFocusPolicy(Qt::TabFocus);
  setFocusProxy(bar_);
  connect(bar_, &WrappingTabBar::currentChanged, this, [this](int index) {
    stack_->setCurrentIndex(index);
    emit currentChanged(index);
  });
}

int PageTabs::addTab(QWidget* page, const QString& text) {
  auto* scroll = new QScrollArea(stack_);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setFocusPolicy(Qt::NoFocus);  // Tab goes from the tabs into the page itself
  scroll->setWidgetResizable(true);     // a page fills the room it has, scrolling below its least size
  scroll->setWidget(page);
  stack_->addWidget(scroll);
  pages_ << page;
  return bar_->AddTab(text);
}

int PageTabs::count() const {
  return static_cast<int>(pages_.size());
}

QWidget* PageTabs::widget(int index) const {
  return pages_.value(index);
}

QWidget* PageTabs::currentWidget() const {
  return pages_.value(stack_->currentIndex());
}

int PageTabs::currentIndex() const {
  return bar_->CurrentIndex();
}

void PageTabs::setCurrentIndex(int index) {
  bar_->SetCurrentIndex(index);
}

QString PageTabs::tabText(int index) const {
  return bar_->TabText(index);
}

void PageTabs::setTabText(int index, const QString& text) {
  bar_->SetTabText(index, text);
}

void PageTabs::setTabToolTip(int index, const QString& hint) {
  bar_->SetTabHint(index, hint);
}

void PageTabs::Step(int by) {
  if (count() > 1) {
    setCurrentIndex((currentIndex() + by + count()) % count());
  }
}

void PageTabs::keyPressEvent(QKeyEvent* event) {
  const bool ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
  const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
  if (ctrl && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)) {
    Step(event->key() == Qt::Key_Backtab || shift ? -1 : 1);
  } else if (ctrl && (event->key() == Qt::Key_PageDown || event->key() == Qt::Key_PageUp)) {
    Step(event->key() == Qt::Key_PageUp ? -1 : 1);
  } else {
    event->ignore();
  }
}

void PageTabs::paintEvent(QPaintEvent* /*event*/) {
  QStylePainter painter(this);
  QStyleOptionTabWidgetFrame frame;
  frame.initFrom(this);
  frame.shape = QTabBar::RoundedNorth;
  frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
  frame.rect = stack_->geometry();
  frame.tabBarSize = bar_->size();
  frame.tabBarRect = bar_->geometry();
  frame.selectedTabRect = bar_->TabRect(bar_->CurrentIndex()).translated(bar_->pos());
  painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

}  // namespace varnek
