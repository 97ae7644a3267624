#include "gui/widgets/PaneView.h"

#include <QContextMenuEvent>
#include <QScrollBar>
#include <QTimer>

#include "qt/HubCodec.h"

namespace varnek {
namespace {

// New lines wait this long, so that a flood's many passes of the event loop
// share one append (and one layout of the lines the line limit keeps); a
// person sees no difference.
constexpr int kAppendIntervalMs = 50;

}  // namespace

PaneView::PaneView(OutputPanes& panes, PaneId id, const HubCodec& codec, QWidget* parent)
    : QPlainTextEdit(parent), panes_(panes), id_(id), codec_(codec) {
  setObjectName(QString::fromStdString(panes.Pane(id).ControlName()));
  setReadOnly(true);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setUndoRedoEnabled(false);
  AppendPending();
  panes_.AddListener(this);
}

PaneView::~PaneView() {
  panes_.RemoveListener(this);
}

void PaneView::OnLineAdded(const OutputPane& pane, const std::string& /*line*/) {
  if (pane.Id() != id_) {
    return;
  }
  if (!appendScheduled_) {
    appendScheduled_ = true;
    QTimer::singleShot(kAppendIntervalMs, this, &PaneView::AppendPending);
  }
}

void PaneView::OnPaneCleared(const OutputPane& pane) {
  if (pane.Id() == id_) {
    shownLines_ = 0;
    clear();
  }
}

void PaneView::AppendPending() {
  appendScheduled_ = false;
  const std::vector<std::string>& lines = Pane().Lines();
  if (shownLines_ >= lines.size()) {
    return;
  }
  QStringList pending;
  for (std::size_t i = shownLines_; i < lines.size(); ++i) {
    pending << codec_.ToUnicode(lines[i]).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  }
  shownLines_ = lines.size();
  QScrollBar* bar = verticalScrollBar();
  const int kept = bar->value();
  appendPlainText(pending.join(QLatin1Char('\n')));
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
