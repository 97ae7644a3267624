#include "core/text/Strings.h"

namespace varnek {

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string result;
  if (from.empty()) {
    return std::string(text);
  }
  result.reserve(text.size());
  std::size_t pos = 0;
  while (true) {
    std::size_t hit = text.find(from, pos);
    if (hit == std::string_view::npos) {
      result.append(text.substr(pos));
      return result;
    }
    result.append(text.substr(pos, hit - pos));
    result.append(to);
    pos = hit + from.size();
  }
}

std::string_view BeforeOrWhole(std::string_view text, std::string_view mark) {
  std::size_t hit = text.find(mark);
  return hit == std::string_view::npos ? text : text.substr(0, hit);
}

std::string_view AfterOrWhole(std::string_view text, std::string_view mark) {
  std::size_t hit = text.find(mark);
  return hit == std::string_view::npos ? text : text.substr(hit + mark.size());
}

std::string ToDecimal(long long value) {
  return std::to_string(value);
}
std::string ToDecimal(unsigned long long value) {
  return std::to_string(value);
}

}  // namespace varnek
