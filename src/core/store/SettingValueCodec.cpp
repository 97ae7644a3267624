#include "core/store/SettingValueCodec.h"

namespace varnek {

std::string EncodeSettingValue(std::string_view text) {
  std::string stored;
  stored.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      stored += "&#13;";
    } else if (c == '\n') {
      stored += "&#10;";
    } else if (c == '&' && i + 1 < text.size() && text[i + 1] == '#') {
      stored += "&#38;";
    } else {
      stored += c;
    }
  }
  return stored;
}

std::string DecodeSettingValue(std::string_view stored) {
  std::string text;
  text.reserve(stored.size());
  for (std::size_t i = 0; i < stored.size();) {
    const std::string_view rest = stored.substr(i);
    if (rest.starts_with("&#13;")) {
      text += '\r';
      i += 5;
    } else if (rest.starts_with("&#10;")) {
      text += '\n';
      i += 5;
    } else if (rest.starts_with("&#38;")) {
      text += '&';
      i += 5;
    } else {
      text += stored[i];
      ++i;
    }
  }
  return text;
}

}  // namespace varnek
