#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace varnek {

// Where the answers to one console line go: the program's own standard
// output and error for a line typed on standard input, the client's for a
// line sent through the control socket.
class ConsoleOutput {
 public:
  virtual ~ConsoleOutput() = default;

  // A message of the program itself: a refusal, "not connected", an error.
  virtual void Tell(const QString& text) = 0;
  // The reply to a local command, in the hub's code page; one "reply" line
  // per line of it.
  virtual void Reply(std::string_view text) = 0;
  // A text in the hub's code page, for a message that quotes it.
  virtual QString ToUnicode(const std::string& bytes) const = 0;
  // Whether a person types the lines at a terminal, with line editing, and
  // wants to see what a line did that shows nowhere else.
  virtual bool AtTerminal() const { return false; }
};

}  // namespace varnek
