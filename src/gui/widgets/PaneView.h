#pragma once

#include <QPlainTextEdit>
#include <QStringList>

#include "core/store/OutputPanes.h"

namespace varnek {

class HubCodec;

// A read-only text pane showing one of the chat, status and debug panes.
// New lines are appended together a moment after the first of them (50 ms),
// so a flood of debug lines costs a few layouts a second, not one per line or
// per pass of the event loop; they are read from the core's pane only then,
// so lines that the line limit empties away in the meantime cost the window
// nothing.
class PaneView : public QPlainTextEdit, public OutputPanes::Listener {
  Q_OBJECT
 public:
  PaneView(OutputPanes& panes, PaneId id, const HubCodec& codec, QWidget* parent = nullptr);
  ~PaneView() override;

  PaneId Id() const { return id_; }
  OutputPane& Pane() { return panes_.Pane(id_); }
  // Scrolls to the newest line when the pane's auto-scroll flag is on.
  void ScrollToEndIfAuto();

  void OnLineAdded(const OutputPane& pane, const std::string& line) override;
  void OnPaneCleared(const OutputPane& pane) override;

 signals:
  void menuRequested(PaneView* pane, const QPoint& globalPosition);

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void AppendPending();

  OutputPanes& panes_;
  PaneId id_;
  const HubCodec& codec_;
  std::size_t shownLines_ = 0;  // of the core's pane, already in the widget
  bool appendScheduled_ = false;
};

}  // namespace varnek
