#pragma once

#include <string_view>

#include "core/store/OutputPanes.h"

namespace varnek {

// Which of the program's standard streams the journal reads (a service's
// StandardOutput=journal): $JOURNAL_STREAM names that stream by its device
// and inode, which are compared with the open descriptors', so a stream
// redirected elsewhere (a pipe, a file, a terminal) is never taken for it.
// A line written to the journal may begin with its syslog priority as
// "<N>", and needs no time stamp: the journal keeps the time of each line.
struct JournalStreams {
  bool output = false;  // standard output
  bool error = false;   // standard error

  // Of this process, from its environment and descriptors 1 and 2.
  static JournalStreams OfThisProcess();

  // What a line begins with: its priority on the journal's stream, nothing
  // on any other. A pane's lines are debug 7, chat 6 or status 5; the
  // replies to local commands are information (6), like chat; standard
  // error holds the warnings, the questions answered by rule and the reasons
  // the program cannot go on (4).
  std::string_view PanePriority(PaneId pane) const;
  std::string_view ReplyPriority() const { return output ? "<6>" : ""; }
  std::string_view MessagePriority() const { return error ? "<4>" : ""; }
};

}  // namespace varnek
