#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace varnek {

// The control socket's protocol, one exchange per connection:
//
//   client:  LINE \n                     one console line, UTF-8
//   server:  "out " TEXT \n              a line for the client's standard output
//            "err " TEXT \n              a line for its standard error
//            "done" \n                   the line was run; then the server closes
//
// TEXT is a line as the headless program writes it for a line typed on its
// standard input ("reply<TAB>..." or "varnek: ..."), so it holds no line
// break. A connection that ends without "done" ran nothing: the line was
// refused (the "err" lines say why), or the bot went away before answering.

// The socket's name in the settings directory.
inline constexpr const char* kControlSocketName = "varnek.sock";

// The longest line the server takes: far beyond any console line (a setting
// holds at most 2047 characters), small enough that a client cannot make
// the bot hold much.
inline constexpr std::size_t kMaxControlLineBytes = std::size_t{64} * 1024;

inline constexpr std::string_view kOutputTag = "out ";
inline constexpr std::string_view kErrorTag = "err ";
inline constexpr std::string_view kDoneLine = "done";

// What the bytes received so far hold of the client's line.
struct ReceivedLine {
  enum class State {
    Incomplete,  // no line break yet: wait for more
    Complete,    // `line` holds the line, without its line break (or CR LF)
    TooLong,     // more than kMaxControlLineBytes before the line break
  };
  State state = State::Incomplete;
  std::string line;
};

// Reads the client's line from the bytes received so far. Whatever follows
// the first line break is not looked at: one connection runs one line.
ReceivedLine ReadControlLine(std::string_view received);

// One line of the server's answer, as the client reads it.
struct AnswerLine {
  enum class Kind {
    Output,  // `text` for standard output
    Error,   // `text` for standard error
    Done,    // the line was run
  };
  Kind kind = Kind::Done;
  std::string text;
};

// Reads one line of the answer (without its line break); nothing for a line
// the protocol does not know.
std::optional<AnswerLine> ReadAnswerLine(std::string_view line);

}  // namespace varnek
