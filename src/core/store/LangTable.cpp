#include "core/store/LangTable.h"

#include "core/store/IniFile.h"
#include "core/text/Ascii.h"
#include "core/text/Format.h"
#include "core/text/LangDefaults.h"
#include "core/text/Mnemonics.h"

namespace varnek {

namespace {
constexpr std::string_view kTranslationsSection = "Translations";
}

LangTable::LangTable() {
  for (int i = 0; i < LangKeyCount; ++i) {
    texts_[static_cast<std::size_t>(i)] = kLangEntries[static_cast<std::size_t>(i)].english;
  }
}

std::string LangTable::Plain(LangKey key) const {
  return WithoutMnemonic(Text(key));
}

std::string LangTable::Format(LangKey key, std::initializer_list<std::string_view> arguments) const {
  return FormatMessage(Text(key), arguments);
}

const char* LangTable::KeyName(LangKey key) {
  return kLangEntries[static_cast<std::size_t>(key)].key;
}

const char* LangTable::EnglishText(LangKey key) {
  return kLangEntries[static_cast<std::size_t>(key)].english;
}

std::optional<LangKey> LangTable::FindKey(std::string_view name) {
  for (int i = 0; i < LangKeyCount; ++i) {
    if (AsciiEqualsIgnoreCase(kLangEntries[static_cast<std::size_t>(i)].key, name)) {
      return static_cast<LangKey>(i);
    }
  }
  return std::nullopt;
}

void LangTable::LoadFile(const std::filesystem::path& path) {
  const IniFile file = IniFile::Load(path);
  if (!file.HasSection(kTranslationsSection)) {
    return;
  }
  for (int i = 0; i < LangKeyCount; ++i) {
    if (auto value = file.Read(kTranslationsSection, kLangEntries[static_cast<std::size_t>(i)].key)) {
      texts_[static_cast<std::size_t>(i)] = std::move(*value);
    }
  }
}

}  // namespace varnek
