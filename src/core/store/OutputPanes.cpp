#include "core/store/OutputPanes.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "core/store/LangTable.h"
#include "core/ui/ControlModel.h"
#include "core/ui/Ports.h"

namespace varnek {

OutputPane::OutputPane(PaneId id, std::string controlName, std::string logFileName, LangKey savedMessage)
    : id_(id),
      controlName_(std::move(controlName)),
      logFileName_(std::move(logFileName)),
      savedMessage_(savedMessage) {}

std::string OutputPane::Text() const {
  std::string text;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) {
      text += "\r\n";
    }
    text += lines_[i];
  }
  return text;
}

void OutputPane::Append(std::string line) {
  shownLines_ += 1 + static_cast<std::size_t>(std::count(line.begin(), line.end(), '\n'));
  lines_.push_back(std::move(line));
}

void OutputPane::Clear() {
  lines_.clear();
  shownLines_ = 0;
}

OutputPanes::OutputPanes(ControlModel& controls, const LangTable& lang, const Clock& clock,
                         std::filesystem::path logDirectory)
    : lang_(lang),
      clock_(clock),
      logDirectory_(std::move(logDirectory)),
      panes_{OutputPane(PaneId::Chat, "ChatMemo", "chat.txt", LangSavedChatLog),
             OutputPane(PaneId::Status, "StatusMemo", "status.txt", LangSavedStatusLog),
             OutputPane(PaneId::Debug, "LogMemo", "log.txt", LangSavedLogLog)},
      timestamps_(controls.Get("TimestampsCheckBox")),
      timestampsDate_(controls.Get("TimestampsDateCheckBox")),
      limitSwitch_(controls.Get("LinesCountCheckBox")),
      limit_(controls.Get("MaximumCountSpinEdit")),
      fullDebug_(controls.Get("FullLogCheckBox")),
      niceOutput_(controls.Get("NiceLogCheckBox")),
      logSwitches_{&controls.Get("LogChatCheckBox"), &controls.Get("LogStatusCheckBox"),
                   &controls.Get("LogDebugCheckBox")} {}

std::string OutputPanes::LinePrefix() const {
  if (!timestamps_.Checked()) {
    return {};
  }
  if (timestampsDate_.Checked()) {
    return "[" + clock_.LocalDateText() + " @ " + clock_.LocalTimeText() + "]: ";
  }
  return "[" + clock_.LocalTimeText() + "]: ";
}

void OutputPanes::AddLine(PaneId id, std::string_view text) {
  OutputPane& pane = Pane(id);
  std::string line = LinePrefix();
  line.append(text);
  pane.Append(line);
  for (Listener* listener : listeners_) {
    listener->OnLineAdded(pane, line);
  }
  ApplyLineLimit(pane);
}

DebugMode OutputPanes::Mode() const {
  if (fullDebug_.Checked()) {
    return DebugMode::FullDebug;
  }
  if (niceOutput_.Checked()) {
    return DebugMode::NiceOutput;
  }
  return DebugMode::Nothing;
}

void OutputPanes::NiceLine(LangKey message, std::initializer_list<std::string_view> arguments) {
  if (NiceOutput()) {
    DebugLine(lang_.Format(message, arguments));
  }
}

const Control& OutputPanes::LogSwitch(PaneId id) const { return *logSwitches_[static_cast<std::size_t>(id)]; }

std::string OutputPanes::LogText(const OutputPane& pane) const {
  std::string text;
  for (const std::string& line : pane.Lines()) {
    text += line;
    text += "\r\n";
  }
  return text;
}

void OutputPanes::ApplyLineLimit(OutputPane& pane) {
  // The saved message that a flush of the status pane writes must not start
  // another flush of its own.
  if (flushing_ && pane.Id() == PaneId::Status) {
    return;
  }
  const auto limit = static_cast<std::size_t>(limit_.Value());
  if (!limitSwitch_.Checked() || pane.ShownLineCount() <= limit) {
    return;
  }
  const bool logged = LogSwitch(pane.Id()).Checked();
  if (logged) {
    // Throws before the pane is emptied, so a failed flush loses no line.
    AppendToLogFile(pane.LogFileName(), LogText(pane));
  }
  ClearPane(pane);
  if (logged) {
    flushing_ = pane.Id() == PaneId::Status;
    StatusLog(lang_.Text(pane.SavedMessage()));
    flushing_ = false;
  }
}

void OutputPanes::ClearPane(OutputPane& pane) {
  pane.Clear();
  for (Listener* listener : listeners_) {
    listener->OnPaneCleared(pane);
  }
}

void OutputPanes::Clear(PaneId id) { ClearPane(Pane(id)); }

void OutputPanes::FlushOnExit() {
  for (PaneId id : {PaneId::Status, PaneId::Chat, PaneId::Debug}) {
    if (LogSwitch(id).Checked()) {
      AppendToLogFile(Pane(id).LogFileName(), LogText(Pane(id)));
    }
  }
  for (PaneId id : {PaneId::Status, PaneId::Chat, PaneId::Debug}) {
    ClearPane(Pane(id));
  }
}

void OutputPanes::AppendToLogFile(const std::string& fileName, const std::string& text) const {
  const std::filesystem::path path = logDirectory_ / fileName;
  std::ofstream out(path, std::ios::binary | std::ios::app);
  if (!out) {
    throw std::runtime_error("Cannot open file \"" + path.string() + "\"");
  }
  out << text << "\r\n";
  out.flush();
  if (!out) {
    throw std::runtime_error("Cannot write file \"" + path.string() + "\"");
  }
}

void OutputPanes::RemoveListener(Listener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

}  // namespace varnek
