#pragma once

#include <array>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "core/text/LangKeys.h"

namespace varnek {

// The message table: every text the program shows, logs or sends in its own
// words, English until a language file says otherwise.
class LangTable {
 public:
  LangTable();

  const std::string& Text(LangKey key) const { return texts_[static_cast<std::size_t>(key)]; }
  // A caption's message as text, without the "&" that marks its Alt key:
  // for the places where a caption also serves as a label or a title.
  std::string Plain(LangKey key) const;
  void SetText(LangKey key, std::string text) { texts_[static_cast<std::size_t>(key)] = std::move(text); }

  // The message with its "%s" placeholders filled in order. Throws FormatError
  // when a translated message holds more placeholders than arguments given.
  std::string Format(LangKey key, std::initializer_list<std::string_view> arguments) const;

  static const char* KeyName(LangKey key);
  static const char* EnglishText(LangKey key);
  // The key of a name, matched without regard to ASCII case.
  static std::optional<LangKey> FindKey(std::string_view name);

  // Reads the section "Translations" of a language file: every key it holds
  // takes the file's value, empty values included; every other message keeps
  // its current text. A missing file, or one without that section, changes
  // nothing.
  void LoadFile(const std::filesystem::path& path);

 private:
  std::array<std::string, LangKeyCount> texts_;
};

}  // namespace varnek
