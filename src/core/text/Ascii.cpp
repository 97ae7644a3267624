#include "core/text/Ascii.h"

namespace varnek {

std::string AsciiLowerCopy(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    c = AsciiLower(c);
  }
  return result;
}

bool AsciiEqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) {
      return false;
    }
  }
  return true;
}

int AsciiCompareIgnoreCase(std::string_view a, std::string_view b) {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < common; ++i) {
    auto x = static_cast<unsigned char>(AsciiUpper(a[i]));
    auto y = static_cast<unsigned char>(AsciiUpper(b[i]));
    if (x != y) {
      return x < y ? -1 : 1;
    }
  }
  if (a.size() == b.size()) {
    return 0;
  }
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace varnek
