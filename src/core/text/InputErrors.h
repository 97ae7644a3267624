#pragma once

#include <stdexcept>

namespace varnek {

// A command from the hub that cannot be handled as a whole: a share size or
// hub count that is no number, or a pattern that is too complex to match.
// Handling of that one command is abandoned at the point of the error; the
// program reports it in the debug pane and goes on with the next command.
class AbandonedCommandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace varnek
