#include "core/store/IniFile.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "core/text/Ascii.h"
#include "core/text/Integer.h"

namespace varnek {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

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

IniFile IniFile::Parse(std::string_view bytes) {
  IniFile file;
  Section* current = nullptr;
  for (std::string_view line : SplitLines(bytes)) {
    std::string_view trimmed = TrimBlanks(line);
    if (!trimmed.empty() && trimmed.front() == '[') {
      std::size_t close = trimmed.find(']');
      std::string_view name = trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
      file.sections_.push_back(Section{std::string(TrimBlanks(name)), {}});
      current = &file.sections_.back();
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
      current->lines.push_back(std::move(entry));
    }
  }
  return file;
}

IniFile IniFile::Load(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return {};
  }
  std::ostringstream content;
  content << in.rdbuf();
  return Parse(content.str());
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
  for (const Section& section : sections_) {
    if (AsciiEqualsIgnoreCase(section.name, name)) {
      return &section;
    }
  }
  return nullptr;
}

IniFile::Section* IniFile::FindSection(std::string_view name) {
  return const_cast<Section*>(static_cast<const IniFile*>(this)->FindSection(name));
}

const IniFile::Line* IniFile::FindEntry(std::string_view section, std::string_view key) const {
  const Section* found = FindSection(section);
  if (found == nullptr) {
    return nullptr;
  }
  for (const Line& line : found->lines) {
    if (line.isEntry && AsciiEqualsIgnoreCase(line.key, key)) {
      return &line;
    }
  }
  return nullptr;
}

bool IniFile::HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

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
    for (const Line& line : found->lines) {
      if (line.isEntry) {
        names.push_back(line.key);
      }
    }
  }
  return names;
}

void IniFile::EraseSection(std::string_view section) {
  for (auto it = sections_.begin(); it != sections_.end();) {
    it = AsciiEqualsIgnoreCase(it->name, section) ? sections_.erase(it) : it + 1;
  }
}

void IniFile::EnsureSection(std::string_view section) {
  if (FindSection(section) == nullptr) {
    sections_.push_back(Section{std::string(section), {}});
  }
}

void IniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  EnsureSection(section);
  Section* target = FindSection(section);
  std::string stored = NeedsQuotes(value) ? "\"" + std::string(value) + "\"" : std::string(value);
  for (Line& line : target->lines) {
    if (line.isEntry && AsciiEqualsIgnoreCase(line.key, key)) {
      line.value = stored;
      line.raw = line.key + "=" + stored;
      return;
    }
  }
  Line line;
  line.key = std::string(key);
  line.value = stored;
  line.raw = line.key + "=" + stored;
  line.isEntry = true;
  target->lines.push_back(std::move(line));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, long long value) {
  Write(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  Write(section, key, value ? "1" : "0");
}

std::string IniFile::Serialize() const {
  std::string out;
  for (const std::string& line : preamble_) {
    out += line;
    out += "\r\n";
  }
  for (const Section& section : sections_) {
    out += "[" + section.name + "]\r\n";
    for (const Line& line : section.lines) {
      out += line.raw;
      out += "\r\n";
    }
  }
  return out;
}

void IniFile::SaveAtomically(const std::filesystem::path& path) const {
  namespace fs = std::filesystem;
  const std::string content = Serialize();
  std::random_device random;
  fs::path temporary = path;
  temporary += ".tmp" + std::to_string(random());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) {
      throw std::runtime_error("Cannot create file \"" + temporary.string() + "\"");
    }
    std::error_code ignored;
    fs::permissions(temporary, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace, ignored);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.flush();
    if (!out) {
      out.close();
      fs::remove(temporary, ignored);
      throw std::runtime_error("Cannot write file \"" + temporary.string() + "\"");
    }
  }
  std::error_code error;
  fs::rename(temporary, path, error);
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    throw std::runtime_error("Cannot replace file \"" + path.string() + "\": " + error.message());
  }
}

}  // namespace varnek
