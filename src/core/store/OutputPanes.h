#pragma once

#include <array>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/LangKeys.h"

namespace varnek {

class Clock;
class Control;
class ControlModel;
class LangTable;

enum class PaneId { Chat, Status, Debug };
enum class DebugMode { Nothing, FullDebug, NiceOutput };

// One read-only text pane: the lines in the order added. A line may hold line
// breaks of its own (the help text does); the line limit counts those too.
class OutputPane {
 public:
  OutputPane(PaneId id, std::string controlName, std::string logFileName, LangKey savedMessage);

  PaneId Id() const { return id_; }
  const std::string& ControlName() const { return controlName_; }
  const std::string& LogFileName() const { return logFileName_; }
  LangKey SavedMessage() const { return savedMessage_; }

  const std::vector<std::string>& Lines() const { return lines_; }
  // Lines as the pane shows them: an added line with n line feeds counts n + 1.
  std::size_t ShownLineCount() const { return shownLines_; }
  // The whole text, lines separated by CR LF.
  std::string Text() const;

  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool on) { autoScroll_ = on; }

 private:
  friend class OutputPanes;
  void Append(std::string line);
  void Clear();
  // An empty string for the next line, with the memory of a line the pane
  // held before its last clearing: a pane that fills up and is cleared again
  // and again, as the debug pane is in a login flood, then costs no memory
  // allocation per line.
  std::string TakeSpareLine();

  PaneId id_;
  std::string controlName_;
  std::string logFileName_;
  LangKey savedMessage_;
  std::vector<std::string> lines_;
  std::vector<std::string> spareLines_;  // cleared lines, kept for their memory
  std::size_t shownLines_ = 0;
  bool autoScroll_ = true;
};

// The chat, status and debug panes with their line prefix, debug modes, line
// limit and log files.
class OutputPanes {
 public:
  class Listener {
   public:
    virtual ~Listener() = default;
    // The line as the pane holds it; a listener must not add lines itself.
    virtual void OnLineAdded(const OutputPane& pane, const std::string& line) = 0;
    virtual void OnPaneCleared(const OutputPane& pane) = 0;
  };

  OutputPanes(ControlModel& controls, const LangTable& lang, const Clock& clock, std::filesystem::path logDirectory);

  OutputPane& Pane(PaneId id) { return panes_[static_cast<std::size_t>(id)]; }
  const OutputPane& Pane(PaneId id) const { return panes_[static_cast<std::size_t>(id)]; }

  // Adds the prefix and the text as one line, then applies the line limit.
  // Throws std::runtime_error when a flush to the log file fails; the pane
  // then keeps its lines.
  void AddLine(PaneId id, std::string_view text);
  void ChatLine(std::string_view text) { AddLine(PaneId::Chat, text); }
  void StatusLog(std::string_view text) { AddLine(PaneId::Status, text); }
  void DebugLine(std::string_view text) { AddLine(PaneId::Debug, text); }

  DebugMode Mode() const;
  bool NiceOutput() const { return Mode() == DebugMode::NiceOutput; }
  bool FullDebug() const { return Mode() == DebugMode::FullDebug; }
  // A debug line written only in "Nice output" mode.
  void NiceLine(LangKey message, std::initializer_list<std::string_view> arguments);

  // The pane menu's clear: the lines are dropped, not logged.
  void Clear(PaneId id);

  // At exit: each pane whose log switch is on is appended to its log file, in
  // the order status, chat, debug; then all three are emptied.
  void FlushOnExit();

  // Appends the text and one more line end to a file in the log directory.
  // The directory is part of the installation and is not created here.
  void AppendToLogFile(const std::string& fileName, const std::string& text) const;

  // How many bytes at the start of the line just added are its time stamp
  // (none while the stamps are off): a listener whose output has a time of its
  // own (the journal) reads it in OnLineAdded and leaves the stamp out.
  std::size_t LastStampLength() const { return lastStampLength_; }

  void AddListener(Listener* listener) { listeners_.push_back(listener); }
  void RemoveListener(Listener* listener);

 private:
  const std::string& CurrentPrefix() const;
  // Adds the prefix and what `write` appends after it as one line.
  template <typename Write>
  void AddBuiltLine(PaneId id, std::size_t textSize, Write write);
  void ApplyLineLimit(OutputPane& pane);
  std::string LogText(const OutputPane& pane) const;
  const Control& LogSwitch(PaneId id) const;
  void ClearPane(OutputPane& pane);

  const LangTable& lang_;
  const Clock& clock_;
  std::filesystem::path logDirectory_;
  std::array<OutputPane, 3> panes_;
  std::vector<Listener*> listeners_;
  bool flushing_ = false;
  // The prefix changes once a second but is asked for by every line: it is
  // built again only when the clock's texts or the switches differ from the
  // ones it was built from.
  mutable std::string prefix_;
  mutable std::string prefixTime_;
  mutable std::string prefixDate_;
  mutable bool prefixStamped_ = false;
  mutable bool prefixDated_ = false;
  std::size_t lastStampLength_ = 0;
  // Read for every line, so looked up once.
  const Control& timestamps_;
  const Control& timestampsDate_;
  const Control& limitSwitch_;
  const Control& limit_;
  const Control& fullDebug_;
  const Control& niceOutput_;
  std::array<const Control*, 3> logSwitches_;
};

}  // namespace varnek
