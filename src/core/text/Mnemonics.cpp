#include "core/text/Mnemonics.h"

namespace varnek {

std::string WithoutMnemonic(std::string_view caption) {
  std::string text;
  text.reserve(caption.size());
  for (std::size_t i = 0; i < caption.size(); ++i) {
    // A lone "&" at the end marks nothing and stays, as the toolkit shows it.
    if (caption[i] == '&' && i + 1 < caption.size()) {
      ++i;  // the marked character, or the second "&" of "&&"
    }
    text += caption[i];
  }
  return text;
}

}  // namespace varnek
