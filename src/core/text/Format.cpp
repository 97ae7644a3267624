#include "core/text/Format.h"

namespace varnek {

std::string FormatMessage(std::string_view message, std::initializer_list<std::string_view> arguments) {
  std::string result;
  result.reserve(message.size() + 32);
  AppendFormatted(result, message, arguments);
  return result;
}

void AppendFormatted(std::string& result, std::string_view message, std::initializer_list<std::string_view> arguments) {
  const std::size_t start = result.size();
  auto next = arguments.begin();
  std::size_t pos = 0;
  while (pos < message.size()) {
    std::size_t mark = message.find("%s", pos);
    if (mark == std::string_view::npos) {
      result.append(message.substr(pos));
      break;
    }
    result.append(message.substr(pos, mark - pos));
    if (next == arguments.end()) {
      result.resize(start);
      throw FormatError("Format '" + std::string(message) + "' invalid or incompatible with argument");
    }
    result.append(*next++);
    pos = mark + 2;
  }
}

}  // namespace varnek
