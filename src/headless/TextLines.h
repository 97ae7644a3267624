#pragma once

#include <string_view>

namespace varnek {

// Calls `each` with every line of the text: the lines end in LF after any
// number of CRs (chat turns a hub's CR LF into CR CR LF, as the window's
// panes want CR LF; CRs at the text's end go too), and a text without a
// line break is one line. A CR inside a line is no line break: it is shown.
template <typename Each>
void ForEachLine(std::string_view text, Each each) {
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    while (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    each(line);
    if (end == std::string_view::npos) {
      return;
    }
    start = end + 1;
  }
}

}  // namespace varnek
