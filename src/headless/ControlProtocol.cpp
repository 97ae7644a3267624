#include "headless/ControlProtocol.h"

namespace varnek {

ReceivedLine ReadControlLine(std::string_view received) {
  const std::size_t end = received.find('\n');
  if (end == std::string_view::npos) {
    // A line at the limit may still have its CR to come.
    const bool tooLong = received.size() > kMaxControlLineBytes + 1;
    return {tooLong ? ReceivedLine::State::TooLong : ReceivedLine::State::Incomplete, {}};
  }
  std::string_view line = received.substr(0, end);
  // A line typed on standard input loses its CR too, so a client that ends
  // its line with CR LF sends the same line.
  if (line.ends_with('\r')) {
    line.remove_suffix(1);
  }
  if (line.size() > kMaxControlLineBytes) {
    return {ReceivedLine::State::TooLong, {}};
  }
  return {ReceivedLine::State::Complete, std::string(line)};
}

std::optional<AnswerLine> ReadAnswerLine(std::string_view line) {
  if (line == kDoneLine) {
    return AnswerLine{AnswerLine::Kind::Done, {}};
  }
  if (line.starts_with(kOutputTag)) {
    return AnswerLine{AnswerLine::Kind::Output, std::string(line.substr(kOutputTag.size()))};
  }
  if (line.starts_with(kErrorTag)) {
    return AnswerLine{AnswerLine::Kind::Error, std::string(line.substr(kErrorTag.size()))};
  }
  return std::nullopt;
}

}  // namespace varnek
