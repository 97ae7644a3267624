#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/ControlModel.h"
#include "core/store/LangTable.h"
#include "core/store/LanguageBindings.h"
#include "core/text/Format.h"

namespace varnek {
namespace {

namespace fs = std::filesystem;

// The shipped language files are checked byte by byte here rather than through
// the INI reader, so that a fault the reader would hide (a stray blank, quotes,
// a duplicated key, a bare LF) still shows up.
const fs::path kTranslationsDir = VARNEK_SOURCE_DIR "/data/translations";
constexpr std::string_view kSection = "[Translations]";

struct Entry {
  std::string key;
  std::string value;
};

struct LangFile {
  fs::path path;
  std::string bytes;
  std::vector<std::string> lines;  // split on CR LF, the last line break dropped
};

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> SplitCrLf(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      end = bytes.size();  // a last line without its CR LF; the tests flag it
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::vector<LangFile> ShippedFiles() {
  std::vector<LangFile> files;
  for (const auto& item : fs::directory_iterator(kTranslationsDir)) {
    if (item.is_regular_file() && item.path().extension() == ".lang") {
      LangFile file{item.path(), ReadBytes(item.path()), {}};
      file.lines = SplitCrLf(file.bytes);
      files.push_back(std::move(file));
    }
  }
  std::sort(files.begin(), files.end(), [](const LangFile& a, const LangFile& b) { return a.path < b.path; });
  return files;
}

// The "key=value" lines of the section, in file order, as the bytes stand.
std::vector<Entry> Entries(const LangFile& file) {
  std::vector<Entry> entries;
  bool inSection = false;
  for (const std::string& line : file.lines) {
    if (line.starts_with("[")) {
      inSection = line == kSection;
      continue;
    }
    const std::size_t equals = line.find('=');
    if (inSection && equals != std::string::npos) {
      entries.push_back({line.substr(0, equals), line.substr(equals + 1)});
    }
  }
  return entries;
}

// Counted the way the formatter walks a message.
int PlaceholderCount(std::string_view text) {
  int count = 0;
  for (std::size_t pos = text.find("%s"); pos != std::string_view::npos; pos = text.find("%s", pos + 2)) {
    ++count;
  }
  return count;
}

std::optional<std::string> FormatWith(const LangTable& lang, LangKey key, int count) {
  switch (count) {
    case 0:
      return lang.Format(key, {});
    case 1:
      return lang.Format(key, {"{arg1}"});
    case 2:
      return lang.Format(key, {"{arg1}", "{arg2}"});
    case 3:
      return lang.Format(key, {"{arg1}", "{arg2}", "{arg3}"});
    default:
      return std::nullopt;
  }
}

TEST(TranslationFiles, TheShippedLanguagesAreFound) {
  std::set<std::string> names;
  for (const LangFile& file : ShippedFiles()) {
    names.insert(file.path.filename().string());
    EXPECT_FALSE(file.bytes.empty()) << file.path;
  }
  EXPECT_TRUE(names.contains("English.lang"));
  EXPECT_TRUE(names.contains("Deutsch.lang"));
}

TEST(TranslationFiles, EachIsOneSectionOfEveryKeyOnceInTableOrder) {
  for (const LangFile& file : ShippedFiles()) {
    SCOPED_TRACE(file.path.filename().string());
    EXPECT_TRUE(file.bytes.ends_with("\r\n")) << "the last line ends in CR LF";
    ASSERT_FALSE(file.lines.empty());
    EXPECT_EQ(file.lines.front(), kSection);
    for (const std::string& line : file.lines) {
      EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "a bare CR or LF: " << line;
      EXPECT_TRUE(line == kSection || line.find('=') != std::string::npos) << "not an entry: " << line;
    }

    const std::vector<Entry> entries = Entries(file);
    std::vector<int> seen(LangKeyCount, 0);
    int previous = -1;
    for (const Entry& entry : entries) {
      // An exact spelling is asked for, although the reader ignores case.
      const auto key = LangTable::FindKey(entry.key);
      ASSERT_TRUE(key.has_value()) << "unknown key " << entry.key;
      const int index = static_cast<int>(*key);
      EXPECT_STREQ(entry.key.c_str(), LangTable::KeyName(*key));
      EXPECT_GT(index, previous) << entry.key << " is out of table order";
      previous = index;
      ++seen[static_cast<std::size_t>(index)];
    }
    for (int i = 0; i < LangKeyCount; ++i) {
      EXPECT_EQ(seen[static_cast<std::size_t>(i)], 1) << LangTable::KeyName(static_cast<LangKey>(i));
    }
  }
}

TEST(TranslationFiles, TextsAreSingleByteAnsiNotUtf8) {
  for (const LangFile& file : ShippedFiles()) {
    SCOPED_TRACE(file.path.filename().string());
    for (std::size_t i = 0; i < file.bytes.size(); ++i) {
      const auto c = static_cast<unsigned char>(file.bytes[i]);
      EXPECT_FALSE(c < 0x20 && c != '\r' && c != '\n') << "control byte at " << i;
      // Bytes that windows-1252 leaves undefined.
      EXPECT_FALSE(c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) << "undefined byte at " << i;
      // A UTF-8 umlaut would show as two wrong characters in the window and on the hub.
      const auto next = i + 1 < file.bytes.size() ? static_cast<unsigned char>(file.bytes[i + 1]) : 0;
      EXPECT_FALSE(c >= 0xC2 && c <= 0xDF && next >= 0x80 && next <= 0xBF) << "UTF-8 sequence at " << i;
    }
  }
}

// Every value must reach the table unchanged by the reader, and every caller
// passes as many arguments as the English message has placeholders.
TEST(TranslationFiles, EveryMessageLoadsUnchangedAndFormatsWithTheEnglishArguments) {
  for (const LangFile& file : ShippedFiles()) {
    SCOPED_TRACE(file.path.filename().string());
    LangTable lang;
    lang.LoadFile(file.path);
    for (const Entry& entry : Entries(file)) {
      const auto key = LangTable::FindKey(entry.key);
      ASSERT_TRUE(key.has_value()) << entry.key;
      SCOPED_TRACE(entry.key);
      EXPECT_EQ(lang.Text(*key), entry.value) << "the reader would drop blanks or quotes";
      EXPECT_FALSE(entry.value.empty());

      const int count = PlaceholderCount(LangTable::EnglishText(*key));
      EXPECT_EQ(PlaceholderCount(entry.value), count);
      std::optional<std::string> text;
      ASSERT_NO_THROW(text = FormatWith(lang, *key, count));
      ASSERT_TRUE(text.has_value()) << "no caller passes " << count << " arguments";
      EXPECT_EQ(text->find("%s"), std::string::npos) << *text;
      const std::size_t first = text->find("{arg1}");
      const std::size_t second = text->find("{arg2}");
      EXPECT_EQ(first != std::string::npos, count >= 1) << *text;
      EXPECT_EQ(second != std::string::npos, count >= 2) << *text;
      EXPECT_EQ(text->find("{arg3}") != std::string::npos, count >= 3) << *text;
    }
  }
}

TEST(TranslationFiles, TextsThatTheProgramTakesApartKeepTheirShape) {
  for (const LangFile& file : ShippedFiles()) {
    SCOPED_TRACE(file.path.filename().string());
    LangTable lang;
    lang.LoadFile(file.path);
    // The exception dialog splits its message around the placeholder.
    const std::string& exception = lang.Text(LangExceptionOccured);
    const std::size_t mark = exception.find(" %s ");
    ASSERT_NE(mark, std::string::npos) << exception;
    EXPECT_EQ(exception.find("%s", mark + 2), std::string::npos) << exception;
    // The window turns these escapes back into the characters they stand for.
    const std::string& forbidden = lang.Text(LangForbiddenCharacters);
    EXPECT_NE(forbidden.find("&#36;"), std::string::npos) << forbidden;
    EXPECT_NE(forbidden.find("&#124;"), std::string::npos) << forbidden;
  }
}

// The marks of Alt keys in a text: an "&" before a letter or digit (a high
// byte of the code page is a letter such as "\xDC"); "&#36;" and "&&" are text.
int AltKeyMarks(std::string_view text) {
  int marks = 0;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    const auto next = static_cast<unsigned char>(text[i + 1]);
    if (text[i] == '&' && (std::isalnum(next) != 0 || next >= 0xC0)) {
      ++marks;
      ++i;
    }
  }
  return marks;
}

// A message marks at most one Alt key, and only when the window shows it as
// a caption: a reply, a hint or a title would show the mark as it stands.
TEST(TranslationFiles, AltKeysAreMarkedOnlyInCaptionsOnceEach) {
  for (const LangFile& file : ShippedFiles()) {
    SCOPED_TRACE(file.path.filename().string());
    LangTable lang;
    lang.LoadFile(file.path);
    std::set<std::string> captions;
    for (const bool connected : {false, true}) {
      ControlModel controls;
      ApplyLanguage(controls, lang, connected);
      for (const Control& control : controls.All()) {
        captions.insert(control.Caption());
      }
    }
    int marked = 0;
    for (const Entry& entry : Entries(file)) {
      const int marks = AltKeyMarks(entry.value);
      EXPECT_LE(marks, 1) << entry.key << "=" << entry.value;
      if (marks > 0) {
        ++marked;
        EXPECT_TRUE(captions.contains(entry.value)) << entry.key << "=" << entry.value;
      }
    }
    EXPECT_GT(marked, 0) << "the captions mark their Alt keys";
  }
}

}  // namespace
}  // namespace varnek
