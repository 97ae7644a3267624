#pragma once

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

namespace varnek {

// Raised when a message holds more "%s" placeholders than the caller passed
// arguments; a translated message can do that, and it is a program error that
// the last-resort handler reports.
class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Fills the "%s" placeholders of a message with the arguments, in order.
// Surplus arguments are ignored; any other "%" is copied as it stands.
std::string FormatMessage(std::string_view message, std::initializer_list<std::string_view> arguments);
// The same, appended to a text that is being built (a pane line after its
// time stamp). On a FormatError the text is left as it was.
void AppendFormatted(std::string& out, std::string_view message, std::initializer_list<std::string_view> arguments);

}  // namespace varnek
