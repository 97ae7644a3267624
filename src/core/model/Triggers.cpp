#include "core/model/Triggers.h"

#include <algorithm>
#include <optional>

#include "core/model/Ports.h"

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

std::string TriggerInCodePage(int index, const std::string& codePage, const CodePages& codePages) {
  std::string trigger = TriggerAt(index);
  // The protocol is ASCII, so every code page a hub speaks keeps these bytes.
  const bool ascii = std::all_of(trigger.begin(), trigger.end(), [](char c) { return (c & 0x80) == 0; });
  if (ascii) {
    return trigger;
  }
  std::optional<std::string> converted = codePages.Convert(trigger, kTriggerCodePage, codePage);
  return converted && !converted->empty() ? std::move(*converted) : trigger;
}

}  // namespace varnek
