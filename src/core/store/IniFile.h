#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace varnek {

// An INI file read and written by the Windows private-profile rules, so that
// files move between this program and its Windows forebears: section and key
// names match without regard to ASCII case, blanks around a value are dropped,
// a value in matching quotes loses them, and at most 2047 characters of a
// value are read. The first of duplicated sections or keys wins. Bytes in,
// bytes out: no code page conversion. Lines end in CR LF when written; LF and
// CR LF are both read. Sections and keys are found through hash indexes, so
// reading or writing a list of fifty thousand entries takes time in
// proportion to its length.
class IniFile {
 public:
  static constexpr std::size_t kMaxValueLength = 2047;

  IniFile() = default;
  static IniFile Parse(std::string_view bytes);
  // A missing or unreadable file reads as empty (the language files).
  static IniFile Load(const std::filesystem::path& path);
  // A missing file reads as empty; one that exists but cannot be read throws
  // FileAccessError with the path and the reason (the settings file, which a
  // later save would otherwise replace).
  static IniFile LoadExisting(const std::filesystem::path& path);

  bool HasSection(std::string_view section) const;
  bool HasKey(std::string_view section, std::string_view key) const;

  // The value by the reading rules, or nothing when the key is absent.
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;
  // The value without the length limit (blanks and quotes still handled).
  std::optional<std::string> ReadUnlimited(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
  // A value that is not a number by the integer reading rule gives the fallback.
  int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

  // The key names of a section in file order, all of them.
  std::vector<std::string> KeyNames(std::string_view section) const;
  std::size_t KeyCount(std::string_view section) const;

  void EraseSection(std::string_view section);
  // Adds an empty section at the end unless one of that name exists.
  void EnsureSection(std::string_view section);
  // Replaces the first key of that name or appends one; creates the section at
  // the end when missing. A value that would not read back the same (blanks at
  // its ends, or matching quotes around it) is written in double quotes.
  // Line breaks cannot live in a value; callers encode them.
  void Write(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, long long value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

  std::string Serialize() const;

  // Writes a temporary file beside the target, flushes it to the disk and
  // renames it over the target, so the target is always either the old or the
  // new complete file. A symbolic link stays a link: its target is replaced.
  // The file is readable and writable by its owner only. Throws
  // FileAccessError (a std::runtime_error) on an input/output failure.
  void SaveAtomically(const std::filesystem::path& path) const;

 private:
  struct Line {
    std::string key;    // empty for a line that holds no key (kept as raw)
    std::string value;  // raw text after "=", blanks included
    std::string raw;
    bool isEntry = false;
  };
  struct Section {
    std::string name;
    std::vector<Line> lines;
    std::size_t entryCount = 0;
    // Lower-case key name to the index of its first entry line.
    std::unordered_map<std::string, std::size_t> firstEntry;

    void Add(Line line);
  };

  const Section* FindSection(std::string_view name) const;
  Section* FindSection(std::string_view name);
  Section& AddSection(std::string name);
  const Line* FindEntry(std::string_view section, std::string_view key) const;
  void IndexSections();

  std::vector<std::string> preamble_;
  std::vector<Section> sections_;
  // Lower-case section name to the index of its first section.
  std::unordered_map<std::string, std::size_t> firstSection_;
};

}  // namespace varnek
