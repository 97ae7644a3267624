#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "core/text/TerminalText.h"

namespace varnek {
namespace {

std::string ForTerminal(std::string_view utf8) {
  std::string out = "chat\t";
  AppendForTerminal(out, utf8);
  return out.substr(5);
}

TEST(TerminalTextTest, ControlCharactersAreShownAndEverythingElseStays) {
  const std::pair<std::string, std::string> cases[] = {
      // Retitles, clears and colours a terminal that takes it as it is.
      {"<evil> hello \x1b]0;pwned\x07 \x1b[2J \x1b[31mRED", "<evil> hello ^[]0;pwned^G ^[[2J ^[[31mRED"},
      {std::string("a\0b", 3), "a^@b"},
      {"back\rover", "back^Mover"},
      {"\x1f\x7f", "^_^?"},
      {"column\tcolumn\t", "column\tcolumn\t"},
      // C1 controls in UTF-8 (CSI, NEL, OSC); printable characters above
      // ASCII (the windows-1252 euro sign, a no-break space, e acute) stay.
      {"\xc2\x9b"
       "2J \xc2\x85 \xc2\x9d"
       "0;x",
       "\\x9b2J \\x85 \\x9d0;x"},
      {"5 \xe2\x82\xac\xc2\xa0\xc3\xa9 \xc2\x80", "5 \xe2\x82\xac\xc2\xa0\xc3\xa9 \\x80"},
      {"ends in a lead byte \xc2", "ends in a lead byte \xc2"},
      {"", ""},
      {"plain text of more than eight bytes", "plain text of more than eight bytes"},
  };
  for (const auto& [text, shown] : cases) {
    EXPECT_EQ(ForTerminal(text), shown) << text;
  }
}

// The check reads eight bytes at a time: a control must be found in every
// place of a word and in the bytes after the last whole word, and the
// printable bytes next to the limits (space, tilde) must not count.
TEST(TerminalTextTest, TheQuickCheckFindsAControlInEveryPlace) {
  for (const char control : {'\x00', '\x01', '\x09', '\x1b', '\x1f', '\x7f', '\x80', '\xc2', '\xff'}) {
    for (std::size_t at = 0; at < 19; ++at) {
      std::string text(19, 'a');
      text[at] = control;
      EXPECT_TRUE(MayHoldTerminalControls(text)) << static_cast<int>(control) << " at " << at;
    }
  }
  for (const char printable : {' ', '~', '!', '@', '`'}) {
    EXPECT_FALSE(MayHoldTerminalControls(std::string(19, printable))) << printable;
  }
}

}  // namespace
}  // namespace varnek
