#include "gui/widgets/PaneView.h"

#include <QContextMenuEvent>
#include <QScrollBar>
#include <QTimer>

#include "qt/HubCodec.h"

namespace varnek {

PaneView::PaneView(OutputPanes& panes, PaneId id, const HubCodec& codec, QWidget* parent)
    : QPlainTextEdit(parent), panes_(panes), id_(id), codec_(codec) {
  setObjectName(QString::fromStdString(panes.Pane(id).ControlName()));
  setReadOnly(true);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setUndoRedoEnabled(false);
  for (const std::string& line : panes.Pane(id).Lines()) {
    pending_ << codec_.ToUnicode(line);
  }
  AppendPending();
  panes_.AddListener(this);
}

PaneView::~PaneView() { panes_.RemoveListener(this); }

void PaneView::OnLineAdded(const OutputPane& pane, const std::string& line) {
  if (pane.Id() != id_) {
    return;
  }
  pending_ << codec_.ToUnicode(line).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (!appendScheduled_) {
    appendScheduled_ = true;
    QTimer::singleShot(0, this, &PaneView::AppendPending);
  }
}

void PaneView::OnPaneCleared(const OutputPane& pane) {
  if (pane.Id() == id_) {
    pending_.clear();
    clear();
  }
}

void PaneView::AppendPending() {
  appendScheduled_ = false;
  if (pending_.isEmpty()) {
    return;
  }
  QScrollBar* bar = verticalScrollBar();
  const int kept = bar->value();
  appendPlainText(pending_.join(QLatin1Char('\n')));
  pending_.clear();
  if (Pane().AutoScroll()) {
    bar->setValue(bar->maximum());
  } else {
    bar->setValue(kept);
  }
}

void PaneView::ScrollToEndIfAuto() {
  AppendPending();
  if (Pane().AutoScroll()) {
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
  }
}

void PaneView::contextMenuEvent(QContextMenuEvent* event) {
  emit menuRequested(this, event->globalPos());
  event->accept();
}

}  // namespace varnek
