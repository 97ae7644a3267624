#include "core/store/OutputPanes.h"

#include <algorithm>

#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/model/Ports.h"
#include "core/store/FileAccess.h"
#include "core/store/LangTable.h"
#include "core/text/Format.h"

namespace varnek {

namespace {

// An added line with n line feeds shows as n + 1 lines. Searched with the
// byte search of the library, as every line of a flood passes here.
std::size_t ShownLineCountOf(std::string_view line) {
  std::size_t shown = 1;
  for (std::size_t at = line.find('\n'); at != std::string_view::npos; at = line.find('\n', at + 1)) {
    ++shown;
  }
  return shown;
}

}  // namespace

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
  shownLines_ += ShownLineCountOf(line);
  lines_.push_back(std::move(line));
}

void OutputPane::Clear() {
  // Enough for a pane at the usual line limits; a pane that grew without a
  // limit gives the rest of its memory back, as do very long lines.
  constexpr std::size_t kMostSpareLines = 2048;
  constexpr std::size_t kLongestSpareLine = 1024;
  for (std::string& line : lines_) {
    if (spareLines_.size() >= kMostSpareLines) {
      break;
    }
    if (line.capacity() <= kLongestSpareLine) {
      spareLines_.push_back(std::move(line));
    }
  }
  lines_.clear();
  shownLines_ = 0;
}

std::string OutputPane::TakeSpareLine() {
  if (spareLines_.empty()) {
    return {};
  }
  std::string line = std::move(spareLines_.back());
  spareLines_.pop_back();
  line.clear();
  return line;
}

OutputPanes::OutputPanes(ControlModel& controls, const LangTable& lang, const Clock& clock,
                         std::filesystem::path logDirectory)
    : lang_(lang),
      clock_(clock),
      logDirectory_(std::move(logDirectory)),
      panes_{OutputPane(PaneId::Chat, ctl::kChatMemo, "chat.txt", LangSavedChatLog),
             OutputPane(PaneId::Status, ctl::kStatusMemo, "status.txt", LangSavedStatusLog),
             OutputPane(PaneId::Debug, ctl::kLogMemo, "log.txt", LangSavedLogLog)},
      timestamps_(controls.Get(ctl::kTimestampsCheckBox)),
      timestampsDate_(controls.Get(ctl::kTimestampsDateCheckBox)),
      limitSwitch_(controls.Get(ctl::kLinesCountCheckBox)),
      limit_(controls.Get(ctl::kMaximumCountSpinEdit)),
      fullDebug_(controls.Get(ctl::kFullLogCheckBox)),
      niceOutput_(controls.Get(ctl::kNiceLogCheckBox)),
      logSwitches_{&controls.Get(ctl::kLogChatCheckBox), &controls.Get(ctl::kLogStatusCheckBox),
                   &controls.Get(ctl::kLogDebugCheckBox)} {}

const std::string& OutputPanes::CurrentPrefix() const {
  const bool stamped = timestamps_.Checked();
  const bool dated = stamped && timestampsDate_.Checked();
  if (!stamped) {
    if (prefixStamped_) {
      prefix_.clear();
      prefixStamped_ = false;
    }
    return prefix_;
  }
  // The clock's texts are short enough to need no heap memory.
  const std::string time = clock_.LocalTimeText();
  const std::string date = dated ? clock_.LocalDateText() : std::string();
  if (prefixStamped_ && dated == prefixDated_ && time == prefixTime_ && date == prefixDate_) {
    return prefix_;
  }
  prefix_.assign("[");
  if (dated) {
    prefix_.append(date).append(" @ ");
  }
  prefix_.append(time).append("]: ");
  prefixTime_ = time;
  prefixDate_ = date;
  prefixStamped_ = true;
  prefixDated_ = dated;
  return prefix_;
}

// The line is built in one string of the right size, formatted message
// included, and then moved into the pane.
template <typename Write>
void OutputPanes::AddBuiltLine(PaneId id, std::size_t textSize, Write write) {
  OutputPane& pane = Pane(id);
  const std::string& prefix = CurrentPrefix();
  std::string line = pane.TakeSpareLine();
  line.reserve(prefix.size() + textSize);
  line.append(prefix);
  lastStampLength_ = prefix.size();
  write(line);
  pane.Append(std::move(line));
  const std::string& added = pane.Lines().back();
  for (Listener* listener : listeners_) {
    listener->OnLineAdded(pane, added);
  }
  ApplyLineLimit(pane);
}

void OutputPanes::AddLine(PaneId id, std::string_view text) {
  AddBuiltLine(id, text.size(), [text](std::string& line) { line.append(text); });
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
  if (!NiceOutput()) {
    return;
  }
  const std::string& text = lang_.Text(message);
  std::size_t size = text.size();
  for (std::string_view argument : arguments) {
    size += argument.size();
  }
  AddBuiltLine(PaneId::Debug, size, [&](std::string& line) { AppendFormatted(line, text, arguments); });
}

const Control& OutputPanes::LogSwitch(PaneId id) const {
  return *logSwitches_[static_cast<std::size_t>(id)];
}

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

void OutputPanes::Clear(PaneId id) {
  ClearPane(Pane(id));
}

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
  AppendToFile(logDirectory_ / fileName, text + "\r\n");
}

void OutputPanes::RemoveListener(Listener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

}  // namespace varnek
