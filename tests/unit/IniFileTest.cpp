#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/store/FileAccess.h"
#include "core/store/IniFile.h"
#include "fakes/TempDir.h"

namespace varnek {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using namespace std::string_view_literals;

TEST(IniFile, SectionsAndKeysMatchWithoutRegardToCase) {
  const IniFile file = IniFile::Parse("[Settings]\r\nHeight=700\r\n[Nick Patterns]\r\n0=*bot*\r\n");
  EXPECT_TRUE(file.HasSection("SETTINGS"));
  EXPECT_TRUE(file.HasKey("settings", "HEIGHT"));
  EXPECT_EQ(file.Read("sEtTiNgS", "height"), "700");
  EXPECT_EQ(file.Read("nick patterns", "0"), "*bot*");
  EXPECT_EQ(file.Read("Settings", "Width"), std::nullopt);
  EXPECT_EQ(file.Read("Missing", "Height"), std::nullopt);
}

TEST(IniFile, ValueReadingDropsBlanksAndOneMatchingPairOfQuotes) {
  struct Case {
    const char* stored;
    const char* read;
  };
  const Case cases[] = {
      {"  two words \t", "two words"},
      {"\"quoted\"", "quoted"},
      {"'single'", "single"},
      {"  \" inner blanks \"  ", " inner blanks "},
      {"\"\"twice\"\"", "\"twice\""},
      {"\"\"", ""},
      {"\"mismatched'", "\"mismatched'"},
      {"\"open", "\"open"},
      {"\"", "\""},
      {"a=b=c", "a=b=c"},
      {"", ""},
  };
  for (const Case& c : cases) {
    const IniFile file = IniFile::Parse(std::string("[S]\r\nkey=") + c.stored + "\r\n");
    EXPECT_EQ(file.Read("S", "key"), c.read) << "stored: " << c.stored;
  }
}

TEST(IniFile, ReadsLfAndCrLfAlikeAndALastLineWithoutLineEnd) {
  for (const char* bytes : {"[S]\na=1\nb= 2 \n", "[S]\r\na=1\r\nb= 2 \r\n", "[S]\r\na=1\nb= 2 "}) {
    const IniFile file = IniFile::Parse(bytes);
    EXPECT_EQ(file.Read("S", "a"), "1") << bytes;
    EXPECT_EQ(file.Read("S", "b"), "2") << bytes;
  }
}

TEST(IniFile, ReadStopsAt2047CharactersButReadUnlimitedDoesNot) {
  const std::string longValue = std::string(2047, 'a') + "bcd";
  const IniFile file = IniFile::Parse("[S]\r\nkey=" + longValue + "\r\n");
  EXPECT_EQ(file.Read("S", "key"), longValue.substr(0, 2047));
  EXPECT_EQ(file.ReadString("S", "key", ""), longValue.substr(0, 2047));
  EXPECT_EQ(file.ReadUnlimited("S", "key"), longValue);
}

TEST(IniFile, NumbersAndSwitchesFallBackWhenTheValueIsNoNumber) {
  const IniFile file = IniFile::Parse("[S]\r\nblank= 12 \r\nhex=0x1F\r\ntail=12abc\r\nword=yes\r\nempty=\r\ntwo=2\r\n");
  EXPECT_EQ(file.ReadInteger("S", "blank", -1), 12);
  EXPECT_EQ(file.ReadInteger("S", "hex", -1), 31);
  EXPECT_EQ(file.ReadInteger("S", "tail", -1), -1);
  EXPECT_EQ(file.ReadInteger("S", "empty", -1), -1);
  EXPECT_EQ(file.ReadInteger("S", "absent", -1), -1);
  EXPECT_TRUE(file.ReadBool("S", "two", false));
  EXPECT_TRUE(file.ReadBool("S", "word", true));
  EXPECT_FALSE(file.ReadBool("S", "word", false));
}

TEST(IniFile, TheFirstOfDuplicatedKeysAndSectionsWins) {
  const IniFile file = IniFile::Parse("[A]\r\nk=first\r\nK=second\r\n[a]\r\nk=third\r\n");
  EXPECT_EQ(file.Read("A", "k"), "first");
  EXPECT_EQ(file.KeyNames("A").size(), 2u);

  IniFile rewritten = file;
  rewritten.Write("a", "K", "new");
  const IniFile reread = IniFile::Parse(rewritten.Serialize());
  EXPECT_EQ(reread.Read("A", "k"), "new");
  EXPECT_EQ(reread.KeyNames("A"), (std::vector<std::string>{"k", "K"}));
}

TEST(IniFile, SurvivesGarbageAndKeepsTheKeysAroundIt) {
  std::string bytes = "junk before any section\r\n[Good]\r\nbefore=1\r\n";
  bytes += "bin\0ary=\xFF\xFE\0x\r\n"sv;
  bytes += "a line without equals sign\r\n=no key\r\n;comment=x\r\n\xFF\xFF\xFF\r\n";
  bytes += "after=2\r\n[unterminated\r\nloose=3\r\n[Next]\r\nkey=4\r\n";
  const IniFile file = IniFile::Parse(bytes);
  EXPECT_EQ(file.Read("Good", "before"), "1");
  EXPECT_EQ(file.Read("Good", "after"), "2");
  EXPECT_EQ(file.Read("Good", "bin\0ary"sv), "\xFF\xFE\0x"sv);
  EXPECT_FALSE(file.HasKey("Good", "comment"));
  EXPECT_EQ(file.Read("Next", "key"), "4");

  // A rewrite keeps every line it does not touch, garbage included.
  IniFile rewritten = file;
  rewritten.Write("Next", "key", "5");
  const std::string serialized = rewritten.Serialize();
  EXPECT_NE(serialized.find("a line without equals sign\r\n"), std::string::npos);
  EXPECT_NE(serialized.find(";comment=x\r\n"), std::string::npos);
  EXPECT_EQ(IniFile::Parse(serialized).Read("Good", "after"), "2");
  EXPECT_EQ(IniFile::Parse(serialized).Read("Next", "key"), "5");
}

TEST(IniFile, KeyNamesReturnsEveryKeyBeyondSixteenKilobytesOfNames) {
  std::string bytes = "[Big]\r\n";
  std::size_t nameBytes = 0;
  for (int i = 0; i < 5000; ++i) {
    const std::string name = "pattern_key_" + std::to_string(i);
    nameBytes += name.size() + 1;
    bytes += name + "=v\r\n";
  }
  ASSERT_GT(nameBytes, 16u * 1024u);
  const auto names = IniFile::Parse(bytes).KeyNames("big");
  ASSERT_EQ(names.size(), 5000u);
  EXPECT_EQ(names.front(), "pattern_key_0");
  EXPECT_EQ(names[2500], "pattern_key_2500");
  EXPECT_EQ(names.back(), "pattern_key_4999");
}

TEST(IniFile, SerializeWritesCrLfLines) {
  IniFile file = IniFile::Parse("[S]\na=1\n");
  file.Write("S", "b", "2");
  file.WriteInteger("T", "n", -5);
  file.WriteBool("T", "on", true);
  EXPECT_EQ(file.Serialize(), "[S]\r\na=1\r\nb=2\r\n[T]\r\nn=-5\r\non=1\r\n");
}

TEST(IniFile, WrittenValuesReadBackIdentically) {
  const std::string values[] = {"",         "plain",      " leading", "trailing ",          "  both  ", "   ",
                                "\ttab",    "\"quoted\"", "'single'", "\" blank quoted \"", "\"",       "\"half",
                                "'mixed\"", "\"x ",       "a=b",      "[not a section]",    ";semi",    "100%",
                                "\"\"",     " \"x\" ",    "'",        "x\xFF\x01y\xA7"};
  IniFile file;
  for (std::size_t i = 0; i < std::size(values); ++i) {
    file.Write("Round trip", "k" + std::to_string(i), values[i]);
  }
  const IniFile reread = IniFile::Parse(file.Serialize());
  for (std::size_t i = 0; i < std::size(values); ++i) {
    EXPECT_EQ(reread.Read("round trip", "k" + std::to_string(i)), values[i]) << "value: [" << values[i] << "]";
  }
}

TEST(IniFile, EraseSectionLeavesUnknownSectionsAndLinesInPlace) {
  IniFile file = IniFile::Parse("[Mine]\r\nx=1\r\n; a note\r\n[Settings]\r\nold=1\r\n[settings]\r\nolder=2\r\n");
  file.EraseSection("SETTINGS");
  file.Write("Settings", "new", "2");
  EXPECT_EQ(file.Serialize(), "[Mine]\r\nx=1\r\n; a note\r\n[Settings]\r\nnew=2\r\n");
}

TEST(IniFile, LoadOfAMissingFileReadsAsEmpty) {
  TempDir dir;
  const IniFile file = IniFile::Load(dir / "absent.ini");
  EXPECT_FALSE(file.HasSection("Settings"));
  EXPECT_EQ(file.Serialize(), "");
}

TEST(IniFile, OnlyAMissingFileReadsAsEmptyWhenTheFileMustExist) {
  TempDir dir;
  EXPECT_EQ(IniFile::LoadExisting(dir / "absent.ini").Serialize(), "");
  fs::create_directory(dir / "folder.ini");
  try {
    IniFile::LoadExisting(dir / "folder.ini");
    ADD_FAILURE() << "a directory read as a file";
  } catch (const FileAccessError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot read file \"" + (dir / "folder.ini").string() + "\": Is a directory");
  }
  // Language files keep reading anything unreadable as empty.
  EXPECT_EQ(IniFile::Load(dir / "folder.ini").Serialize(), "");
}

TEST(IniFile, SaveAtomicallyReplacesTheFileWithOwnerOnlyRightsAndNoLeftovers) {
  TempDir dir;
  const fs::path target = dir.WriteFile("Varnek.ini", "[Old]\r\nx=1\r\n");
  fs::permissions(target,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
  IniFile file = IniFile::Load(target);
  file.Write("New", "y", " 2 ");
  file.SaveAtomically(target);

  EXPECT_EQ(TempDir::ReadFile(target), "[Old]\r\nx=1\r\n[New]\r\ny=\" 2 \"\r\n");
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.Path())) {
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

TEST(IniFile, SaveAtomicallyIntoAMissingDirectoryThrows) {
  TempDir dir;
  IniFile file;
  file.Write("S", "a", "1");
  EXPECT_THROW(file.SaveAtomically(dir / "no such directory" / "Varnek.ini"), std::runtime_error);
}

TEST(IniFile, SaveAtomicallyKeepsTheOldFileWhenTheDirectoryIsNotWritable) {
  if (::geteuid() == 0) {
    GTEST_SKIP() << "rights are not enforced for root";
  }
  TempDir dir;
  const fs::path target = dir.WriteFile("Varnek.ini", "[Old]\r\nx=1\r\n");
  fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);
  IniFile file;
  file.Write("New", "y", "2");
  EXPECT_THROW(file.SaveAtomically(target), std::runtime_error);
  fs::permissions(dir.Path(), fs::perms::owner_all);
  EXPECT_EQ(TempDir::ReadFile(target), "[Old]\r\nx=1\r\n");
}

}  // namespace
}  // namespace varnek
