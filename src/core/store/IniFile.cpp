#include "core/store/IniFile.h"

#include <algorithm>
#include <utility>

#include "core/store/FileAccess.h"
#include "core/text/Ascii.h"
#include "core/text/Integer.h"

namespace varnek {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

std::string Unquote(std::string_view raw) {
  std::string_view value = TrimBlanks(raw);
  if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

bool NeedsQuotes(std::string_view value) {
  if (value.empty()) {
    return false;
  }
  if (IsBlank(value.front()) || IsBlank(value.back())) {
    return true;
  }
  return value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front();
}

std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
    std::string_view line = bytes.substr(start, (end == std::string_view::npos ? bytes.size() : end) - start);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    lines.push_back(line);
    start = next;
  }
  return lines;
}

}  // namespace

void IniFile::Section::Add(Line line) {
  if (line.isEntry) {
    ++entryCount;
    firstEntry.try_emplace(AsciiLowerCopy(line.key), lines.size());
  }
  lines.push_back(std::move(line));
}

IniFile::Section& IniFile::AddSection(std::string name) {
  firstSection_.try_emplace(AsciiLowerCopy(name), sections_.size());
  sections_.push_back(Section{std::move(name), {}, 0, {}});
  return sections_.back();
}

void IniFile::IndexSections() {
  firstSection_.clear();
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    firstSection_.try_emplace(AsciiLowerCopy(sections_[i].name), i);
  }
}

IniFile IniFile::Parse(std::string_view bytes) {
  IniFile file;
  Section* current = nullptr;
  for (std::string_view line : SplitLines(bytes)) {
    std::string_view trimmed = TrimBlanks(line);
    if (!trimmed.empty() && trimmed.front() == '[') {
      std::size_t close = trimmed.find(']');
      std::string_view name = trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
      current = &file.AddSection(std::string(TrimBlanks(name)));
      continue;
    }
    Line entry;
    entry.raw = std::string(line);
    std::size_t equals = line.find('=');
    if (equals != std::string_view::npos && !trimmed.starts_with(";")) {
      entry.key = std::string(TrimBlanks(line.substr(0, equals)));
      entry.value = std::string(line.substr(equals + 1));
      entry.isEntry = !entry.key.empty();
    }
    if (current == nullptr) {
      file.preamble_.push_back(entry.raw);
    } else {
      current->Add(std::move(entry));
    }
  }
  return file;
}

IniFile IniFile::Load(const std::filesystem::path& path) {
  try {
    return LoadExisting(path);
  } catch (const FileAccessError&) {
    return {};
  }
}

IniFile IniFile::LoadExisting(const std::filesystem::path& path) {
  const std::optional<std::string> content = ReadWholeFile(path);
  return content ? Parse(*content) : IniFile();
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
  const auto found = firstSection_.find(AsciiLowerCopy(name));
  return found == firstSection_.end() ? nullptr : &sections_[found->second];
}

IniFile::Section* IniFile::FindSection(std::string_view name) {
  return const_cast<Section*>(static_cast<const IniFile*>(this)->FindSection(name));
}

const IniFile::Line* IniFile::FindEntry(std::string_view section, std::string_view key) const {
  const Section* found = FindSection(section);
  if (found == nullptr) {
    return nullptr;
  }
  const auto entry = found->firstEntry.find(AsciiLowerCopy(key));
  return entry == found->firstEntry.end() ? nullptr : &found->lines[entry->second];
}

bool IniFile::HasSection(std::string_view section) const {
  return FindSection(section) != nullptr;
}

bool IniFile::HasKey(std::string_view section, std::string_view key) const {
  return FindEntry(section, key) != nullptr;
}

std::optional<std::string> IniFile::ReadUnlimited(std::string_view section, std::string_view key) const {
  const Line* entry = FindEntry(section, key);
  if (entry == nullptr) {
    return std::nullopt;
  }
  return Unquote(entry->value);
}

std::optional<std::string> IniFile::Read(std::string_view section, std::string_view key) const {
  auto value = ReadUnlimited(section, key);
  if (value && value->size() > kMaxValueLength) {
    value->resize(kMaxValueLength);
  }
  return value;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
  auto value = Read(section, key);
  return value ? *value : std::string(fallback);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
  auto value = Read(section, key);
  if (!value) {
    return fallback;
  }
  return ReadInt32(*value).value_or(fallback);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

std::vector<std::string> IniFile::KeyNames(std::string_view section) const {
  std::vector<std::string> names;
  if (const Section* found = FindSection(section)) {
    names.reserve(found->entryCount);
    for (const Line& line : found->lines) {
      if (line.isEntry) {
        names.push_back(line.key);
      }
    }
  }
  return names;
}

std::size_t IniFile::KeyCount(std::string_view section) const {
  const Section* found = FindSection(section);
  return found == nullptr ? 0 : found->entryCount;
}

void IniFile::EraseSection(std::string_view section) {
  const auto before = sections_.size();
  std::erase_if(sections_, [section](const Section& s) { return AsciiEqualsIgnoreCase(s.name, section); });
  if (sections_.size() != before) {
    IndexSections();
  }
}

void IniFile::EnsureSection(std::string_view section) {
  if (FindSection(section) == nullptr) {
    AddSection(std::string(section));
  }
}

void IniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  Section* target = FindSection(section);
  if (target == nullptr) {
    target = &AddSection(std::string(section));
  }
  std::string stored = NeedsQuotes(value) ? "\"" + std::string(value) + "\"" : std::string(value);
  const auto existing = target->firstEntry.find(AsciiLowerCopy(key));
  if (existing != target->firstEntry.end()) {
    Line& line = target->lines[existing->second];
    line.raw = line.key + "=" + stored;
    line.value = std::move(stored);
    return;
  }
  Line line;
  line.key = std::string(key);
  line.raw = line.key + "=" + stored;
  line.value = std::move(stored);
  line.isEntry = true;
  target->Add(std::move(line));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, long long value) {
  Write(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  Write(section, key, value ? "1" : "0");
}

std::string IniFile::Serialize() const {
  std::size_t size = 0;
  for (const std::string& line : preamble_) {
    size += line.size() + 2;
  }
  for (const Section& section : sections_) {
    size += section.name.size() + 4;
    for (const Line& line : section.lines) {
      size += line.raw.size() + 2;
    }
  }
  std::string out;
  out.reserve(size);
  for (const std::string& line : preamble_) {
    out += line;
    out += "\r\n";
  }
  for (const Section& section : sections_) {
    out += '[';
    out += section.name;
    out += "]\r\n";
    for (const Line& line : section.lines) {
      out += line.raw;
      out += "\r\n";
    }
  }
  return out;
}

void IniFile::SaveAtomically(const std::filesystem::path& path) const {
  ReplaceFileDurably(path, Serialize());
}

}  // namespace varnek
