#include "core/ui/Triggers.h"

namespace varnek {

std::vector<std::string> TriggerChoices() {
  return {"%", "+", "\xA7", "!", "?", "/", "\\", "=", "*", "&", "#"};
}

std::string TriggerAt(int index) {
  const auto choices = TriggerChoices();
  if (index < 0 || index >= static_cast<int>(choices.size())) {
    return choices.front();
  }
  return choices[static_cast<std::size_t>(index)];
}

}  // namespace varnek
