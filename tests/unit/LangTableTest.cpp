#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/store/LangTable.h"
#include "core/text/Format.h"
#include "core/text/Mnemonics.h"
#include "fakes/TempDir.h"

namespace varnek {
namespace {

using test::TempDir;

const std::filesystem::path kSourceEnglish = VARNEK_SOURCE_DIR "/data/translations/English.lang";
const std::filesystem::path kProgramEnglish = VARNEK_PROGRAM_DIR "/translations/English.lang";

std::vector<std::string> AllTexts(const LangTable& lang) {
  std::vector<std::string> texts;
  for (int i = 0; i < LangKeyCount; ++i) {
    texts.push_back(lang.Text(static_cast<LangKey>(i)));
  }
  return texts;
}

// The first table's 339 keys keep their places (a language file is read in
// that order); keys added since follow them.
TEST(LangTable, HoldsTheFirst339KeysThenTheAddedOnesUniqueAndFoundWithoutRegardToCase) {
  ASSERT_EQ(LangCheckNow, 338);
  EXPECT_STREQ(LangTable::KeyName(LangUserSettings), "LangUserSettings");
  EXPECT_STREQ(LangTable::KeyName(LangIncorrectProtocolMessage), "LangIncorrectProtocolMessage");
  EXPECT_STREQ(LangTable::KeyName(LangCheckNow), "LangCheckNow");
  for (int i = 0; i < LangKeyCount; ++i) {
    const auto key = static_cast<LangKey>(i);
    EXPECT_EQ(LangTable::FindKey(LangTable::KeyName(key)), key) << LangTable::KeyName(key);
  }
  EXPECT_EQ(LangTable::FindKey("langexit"), LangExit);
  EXPECT_EQ(LangTable::FindKey("LANGSAVEDSETTINGS"), LangSavedSettings);
  EXPECT_EQ(LangTable::FindKey("LangNoSuchMessage"), std::nullopt);
  EXPECT_EQ(LangTable::FindKey("UserSettings"), std::nullopt);
}

TEST(LangTable, StartsWithTheEnglishTextsAllInPlainAscii) {
  const LangTable lang;
  for (int i = 0; i < LangKeyCount; ++i) {
    const auto key = static_cast<LangKey>(i);
    const std::string& text = lang.Text(key);
    EXPECT_EQ(text, LangTable::EnglishText(key));
    ASSERT_FALSE(text.empty()) << LangTable::KeyName(key);
    for (unsigned char c : text) {
      // The source is UTF-8 and the program writes ANSI: a non-ASCII byte here
      // would reach the hub as two wrong characters.
      EXPECT_TRUE(c >= 0x20 && c < 0x7F) << LangTable::KeyName(key);
    }
    // Such a text would not survive a language file.
    EXPECT_NE(text.front(), ' ') << LangTable::KeyName(key);
    EXPECT_NE(text.back(), ' ') << LangTable::KeyName(key);
  }
}

TEST(LangTable, CaptionsAreTheirKeysSplitIntoWords) {
  // Captions whose English text is the key without "Lang", split at its
  // capitals; the mark of a caption's Alt key is no part of its words.
  const std::string names =
      "LangUserSettings LangUser LangUsername LangPassword LangDescription LangEmailAddress LangBotMessage "
      "LangClientSettings LangChatSettings LangPreview LangFontColor LangBackgroundColor LangAlphaBlend "
      "LangEnabled LangUpdates LangLatestVersion LangNotifyMe LangLanguageFile LangBrowse LangReload "
      "LangHubSettings LangAddress LangPortNumber LangProxyConnections LangUploadLimit LangClonedUsers "
      "LangNickPattern LangDescriptionPattern LangTagPattern LangHubChat LangShareSize LangExactShareSize "
      "LangTag LangMode LangConnectionType LangStatus LangSend LangDebugOutput LangNothing LangFullDebug "
      "LangNiceOutput LangAbout LangBugReport LangFeatureRequest LangContact LangWebsite LangThanks "
      "LangHelp LangConnect LangDisconnect LangReconnect LangMinimizeToTray LangExit LangNotConnected "
      "LangLanguageFiles LangOpenLanguageFile LangUnknown LangActive LangPassive LangProxy LangNormal "
      "LangAway LangServer LangServerAway LangFireball LangFireballAway LangReason LangRedirectTo LangCopy "
      "LangClear LangAutoScroll LangKick LangRedirect LangPrivateMessage LangRefreshList LangAdd LangEdit "
      "LangDelete LangStatistics LangDetections LangReceived LangSent LangEnableDetections LangAll "
      "LangShow LangProtectedUsers LangCommandSettings LangAllowOperators LangAllowedUsers "
      "LangAllowedUsername LangTrigger LangProtectOperators LangAutomaticSettings LangSaveSettings "
      "LangDetectionSettings LangLoggingToFile LangLogStatusMessages LangLogHubChat LangLogDebugOutput "
      "LangShowTimeStamps LangShowDate LangSelectAll LangMaximumLinesCount LangStatusOutput "
      "LangProtocolCommands LangCheckNow";
  std::vector<LangKey> keys;
  for (std::size_t start = 0; start < names.size();) {
    const std::size_t end = std::min(names.find(' ', start), names.size());
    const auto key = LangTable::FindKey(names.substr(start, end - start));
    ASSERT_TRUE(key.has_value()) << names.substr(start, end - start);
    keys.push_back(*key);
    start = end + 1;
  }
  ASSERT_EQ(keys.size(), 106u);
  for (LangKey key : keys) {
    const std::string name = std::string(LangTable::KeyName(key)).substr(4);
    std::string words;
    for (std::size_t i = 0; i < name.size(); ++i) {
      const char c = name[i];
      if (i > 0 && c >= 'A' && c <= 'Z') {
        words += ' ';
      }
      words += (i > 0 && c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    EXPECT_EQ(WithoutMnemonic(LangTable::EnglishText(key)), words) << LangTable::KeyName(key);
  }
}

TEST(LangTable, TextsThatReachTheHubOrTheDialogsAreByteExact) {
  struct Case {
    LangKey key;
    const char* text;
  };
  const Case cases[] = {
      {LangIncorrectProtocolMessage,
       "Incorrect protocol message which does not starts with \"$\" or \"<\" was not sent: %s"},
      {LangForbiddenCharacters,
       "This value can not containt following characters or spaces (excluding spaces in description, email and tag "
       "patterns): &#36; &#124;"},
      {LangExceptionOccured,
       "An exception has occured: %s This means that application might get unstable. Would you like to exit?"},
      {LangSavedSettings, "Settings was succesfully saved"},
      {LangSavedStatusLog, "Status log was succesfully saved"},
      {LangSavedChatLog, "Hub chat log was succesfully saved"},
      {LangSavedLogLog, "Debug log was succesfully saved"},
      {LangKickedBecause, "You are beeing kicked because: %s"},
      {LangRedirectedBecause, "You are beeing redirected to %s because: %s"},
      {LangWrongParameters, "Wrong parameter specified for command. Type %s to see the available parameters."},
      {LangPrivateMessageFrom, "*** Private message from %s: %s"},
      {LangHintSend, "Use %s to send message and %s to add blank line"},
      {LangValidateDenide, "Username is already used: %s"},
      {LangWildcardsAvailable, "Wildcards are available: *"},
      {LangUser, "User"},
      {LangCheckNow, "Check no&w"},  // a button's caption, with its Alt key
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LangTable::EnglishText(c.key), std::string(c.text)) << LangTable::KeyName(c.key);
  }
}

TEST(LangTable, EnglishLangFileHoldsEveryKeyInTableOrderWithTheBuiltInTexts) {
  const std::string bytes = TempDir::ReadFile(kSourceEnglish);
  ASSERT_FALSE(bytes.empty()) << kSourceEnglish;
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "every line ends in CR LF";
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  ASSERT_EQ(lines.size(), 1u + LangKeyCount);
  EXPECT_EQ(lines[0], "[Translations]");
  for (int i = 0; i < LangKeyCount; ++i) {
    const auto key = static_cast<LangKey>(i);
    const std::string& line = lines[static_cast<std::size_t>(i) + 1];
    const std::size_t equals = line.find('=');
    ASSERT_NE(equals, std::string::npos) << line;
    EXPECT_EQ(line.substr(0, equals), LangTable::KeyName(key));
    EXPECT_EQ(line.substr(equals + 1), LangTable::EnglishText(key));
  }
  EXPECT_EQ(TempDir::ReadFile(kProgramEnglish), bytes) << "the program directory holds the same file";
}

TEST(LangTable, LoadingEnglishLangGivesBackEveryEnglishText) {
  LangTable lang;
  for (int i = 0; i < LangKeyCount; ++i) {
    lang.SetText(static_cast<LangKey>(i), "changed");
  }
  lang.LoadFile(kProgramEnglish);
  for (int i = 0; i < LangKeyCount; ++i) {
    const auto key = static_cast<LangKey>(i);
    EXPECT_EQ(lang.Text(key), LangTable::EnglishText(key)) << LangTable::KeyName(key);
  }
}

TEST(LangTable, LoadFileChangesOnlyTheKeysTheFileHolds) {
  TempDir dir;
  const auto fileA = dir.WriteFile("A.lang",
                                   "[Other]\r\nLangAbout=Wrong section\r\n"
                                   "[Translations]\r\nLangExit=Beenden\r\nlangconnect=Verbinden\r\nLangUser=\r\n"
                                   "LangNoSuchKey=ignored\r\nLangAbout\r\n");
  LangTable lang;
  lang.LoadFile(fileA);
  EXPECT_EQ(lang.Text(LangExit), "Beenden");
  EXPECT_EQ(lang.Text(LangConnect), "Verbinden");
  EXPECT_EQ(lang.Text(LangUser), "");
  for (int i = 0; i < LangKeyCount; ++i) {
    const auto key = static_cast<LangKey>(i);
    if (key != LangExit && key != LangConnect && key != LangUser) {
      EXPECT_EQ(lang.Text(key), LangTable::EnglishText(key)) << LangTable::KeyName(key);
    }
  }

  // Nothing goes back to English: a key that the next file lacks keeps the
  // earlier file's text.
  lang.LoadFile(dir.WriteFile("B.lang", "[translations]\nLANGCONNECT=Connecter\n"));
  EXPECT_EQ(lang.Text(LangExit), "Beenden");
  EXPECT_EQ(lang.Text(LangConnect), "Connecter");
}

TEST(LangTable, AMissingFileOrOneWithoutTranslationsChangesNothing) {
  TempDir dir;
  LangTable lang;
  lang.SetText(LangExit, "Beenden");
  const auto before = AllTexts(lang);
  lang.LoadFile(dir / "missing.lang");
  EXPECT_EQ(AllTexts(lang), before);
  lang.LoadFile(dir.WriteFile("Other.lang", "[Translation]\r\nLangExit=Quitter\r\nLangConnect=Connecter\r\n"));
  EXPECT_EQ(AllTexts(lang), before);
  lang.LoadFile(dir.WriteFile("Empty.lang", ""));
  EXPECT_EQ(AllTexts(lang), before);
  lang.LoadFile(dir.Path());
  EXPECT_EQ(AllTexts(lang), before);
}

TEST(LangTable, ATranslationWithMorePlaceholdersThanArgumentsFailsWhenFormatted) {
  TempDir dir;
  LangTable lang;
  EXPECT_EQ(lang.Format(LangKicking, {"bob"}), "*** Kicking bob");
  lang.LoadFile(dir.WriteFile("Bad.lang", "[Translations]\r\nLangKicking=*** %s kickt %s\r\n"));
  EXPECT_THROW(lang.Format(LangKicking, {"bob"}), FormatError);
  EXPECT_EQ(lang.Format(LangKicking, {"bob", "x"}), "*** bob kickt x");
}

}  // namespace
}  // namespace varnek
