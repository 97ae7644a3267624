#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Product.h"
#include "core/commands/Console.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

constexpr const char* kHelp = "List of available bot commands\r\n\r\n\t!help\t\t\t\t- This list of commands\r\n";
constexpr int kExclamationTrigger = 3;

// Trigger "!" and the bot's nick "B", logged in, pane lines without stamps.
class ConsoleTest : public ::testing::Test {
 protected:
  ConsoleTest() : console(f.bot->Context(), [] { return std::string(kHelp); }) {
    f.LogIn("B");
    f.PlainLines();
    f.bot->Panes().Clear(PaneId::Chat);
    f.control("TriggerComboBox").SetValue(kExclamationTrigger);
  }

  void Type(const std::string& text) { f.control("SendMemo").SetText(text); }
  void Send(const std::string& text) {
    Type(text);
    console.SendButtonClick();
  }
  const std::string& Memo() { return f.control("SendMemo").Text(); }

  test::BotFixture f;
  Console console;
};

TEST_F(ConsoleTest, PlainWordsGoToMainChatAndEmptyTheLine) {
  Send("hello $ and | all");

  EXPECT_EQ(f.Writes(), std::vector<std::string>{"<B> hello $ and | all|"});
  EXPECT_EQ(Memo(), "");
  EXPECT_EQ(f.fakes.window.focused.back(), "SendMemo");
  EXPECT_TRUE(f.ChatLines().empty()) << "the hub's echo shows the line, not the console";
}

TEST_F(ConsoleTest, EmptyLineDoesNothing) {
  const auto focusesBefore = f.fakes.window.focused.size();
  Send("");

  EXPECT_TRUE(f.Writes().empty());
  EXPECT_EQ(f.fakes.window.focused.size(), focusesBefore);
  EXPECT_TRUE(f.ChatLines().empty());
}

// Texts that look like commands but are none of the console's: they go to the
// main chat exactly as typed, and the remote bot commands do not run.
TEST_F(ConsoleTest, NearCommandsGoToMainChatAsTyped) {
  f.control("KickFakeCheckBox").SetChecked(false);
  const std::vector<std::string> texts = {
      "!varnek ",    // statistics only for the exact text
      "!varnekx",    //
      "!fake 1",     // a bot command, not a console command
      "!imdb",       // a search needs the blank
      "!googlex y",  //
      "!password",   // the password needs the blank too
      "%help",       // another trigger
      "!Help",       // keywords are case-sensitive
      "x !varnek",   //
  };
  for (const std::string& text : texts) {
    f.Writes().clear();
    Send(text);
    EXPECT_EQ(f.Writes(), std::vector<std::string>{"<B> " + text + "|"}) << text;
  }
  EXPECT_FALSE(f.control("KickFakeCheckBox").Checked());
  EXPECT_TRUE(f.fakes.shell.urls.empty());
  EXPECT_TRUE(f.ChatLines().empty());
}

TEST_F(ConsoleTest, StatisticsShowTheCurrentLabels) {
  f.control("DetectionsLabel").SetCaption("Detections: 7");
  f.control("UptimeLabel").SetCaption("Uptime: 1 hour");
  f.control("SystemUptimeLabel").SetCaption("System uptime: 3 days");

  Send("!varnek");

  ASSERT_EQ(f.Writes().size(), 1u);
  EXPECT_EQ(f.Writes()[0], std::string("<B> Varnek statistics:\r\n\r\n") +
                               " Detections: 7\r\n Uptime: 1 hour\r\n System uptime: 3 days\r\n" +
                               " Version: 2.0.3\r\n Website: " + kWebsite + "\r\n|");
}

TEST_F(ConsoleTest, PasswordIsSentButNotShown) {
  Send("!password se cret");

  EXPECT_EQ(f.Writes(), std::vector<std::string>{"$MyPass se cret|"});
  ASSERT_FALSE(f.DebugLines().empty());
  EXPECT_EQ(f.DebugLines().back(), "Sending $MyPass");
  for (const std::string& line : f.DebugLines()) {
    EXPECT_EQ(line.find("se cret"), std::string::npos) << line;
  }
  EXPECT_EQ(Memo(), "");
}

TEST_F(ConsoleTest, PasswordLeavesNoDebugLineOutsideNiceOutput) {
  f.control("NoLogCheckBox").SetChecked(true);
  const auto debugLines = f.DebugLines().size();

  Send("!password x");

  EXPECT_EQ(f.Writes(), std::vector<std::string>{"$MyPass x|"});
  EXPECT_EQ(f.DebugLines().size(), debugLines);
}

TEST_F(ConsoleTest, SearchesOpenTheirPageWithTheWordsUnencoded) {
  struct Case {
    std::string text;
    std::string url;
  };
  const Case cases[] = {
      {"!imdb The Matrix", std::string(kMovieSearchUrl) + "The Matrix"},
      {"!google two words", std::string(kWebSearchUrl) + "two words"},
      {"!yahoo a&b $|", std::string(kSecondWebSearchUrl) + "a&b $|"},
      {"!imdb ", kMovieSearchUrl},
  };
  for (const Case& c : cases) {
    f.fakes.shell.urls.clear();
    Send(c.text);
    EXPECT_EQ(f.fakes.shell.urls, std::vector<std::string>{c.url}) << c.text;
    EXPECT_EQ(Memo(), "") << c.text;
  }
  EXPECT_TRUE(std::string(kWebSearchUrl).ends_with("q="));
  EXPECT_TRUE(f.Writes().empty());
}

TEST_F(ConsoleTest, HelpIsShownLocallyAndNothingIsSent) {
  Send("!helpme");

  EXPECT_EQ(f.ChatLines(), std::vector<std::string>{std::string("*** ") + kHelp});
  EXPECT_TRUE(f.Writes().empty());
}

TEST_F(ConsoleTest, LocalHelpCarriesTheLinePrefixOnce) {
  f.control("TimestampsCheckBox").SetChecked(true);
  f.control("TimestampsDateCheckBox").SetChecked(false);

  console.ShowLocalHelp();

  EXPECT_EQ(f.ChatLines(), std::vector<std::string>{std::string("[14:05:09]: *** ") + kHelp});
}

TEST_F(ConsoleTest, WinampSongGoesToMainChat) {
  f.fakes.media.song = "Artist - Song";

  Send("!winamp now");

  EXPECT_EQ(f.Writes(), std::vector<std::string>{"<B> Listening to: Artist - Song|"});
  EXPECT_EQ(Memo(), "");
}

TEST_F(ConsoleTest, WinampNotRunningIsOnlyShown) {
  Send("!winamp");

  EXPECT_EQ(f.ChatLines(), std::vector<std::string>{"*** Winamp is not running"});
  EXPECT_TRUE(f.Writes().empty());
  EXPECT_EQ(Memo(), "");
}

TEST_F(ConsoleTest, ReturnSendsWhateverModifiersAreHeld) {
  Type("one");
  console.SendMemoKeyDown(Key::Return, Modifiers::Alt);
  Type("two");
  console.SendMemoKeyDown(Key::Other, Modifiers::None);

  EXPECT_EQ(f.Writes(), std::vector<std::string>{"<B> one|"});
  EXPECT_EQ(Memo(), "two");
}

TEST_F(ConsoleTest, CtrlShiftAloneAddsABlankLine) {
  const Modifiers ctrlShift = Modifiers::Shift | Modifiers::Ctrl;
  Type("first");
  console.SendMemoKeyDown(Key::Other, ctrlShift);
  EXPECT_EQ(Memo(), "first\r\n");

  console.SendMemoKeyDown(Key::Other, ctrlShift | Modifiers::Alt);
  console.SendMemoKeyDown(Key::Other, ctrlShift | Modifiers::MouseButton);
  console.SendMemoKeyDown(Key::Other, Modifiers::Shift);
  console.SendMemoKeyDown(Key::Other, Modifiers::Ctrl);
  EXPECT_EQ(Memo(), "first\r\n");
  EXPECT_TRUE(f.Writes().empty());

  // Return with the chord sends first, then the blank line follows.
  console.SendMemoKeyDown(Key::Return, ctrlShift);
  EXPECT_EQ(f.Writes(), std::vector<std::string>{"<B> first\r\n|"});
  EXPECT_EQ(Memo(), "\r\n");
}

TEST(SongFromWinampTitleTest, CutsThePlaylistNumberAndTheWinampSuffix) {
  struct Case {
    std::string title;
    std::string song;
  };
  const Case cases[] = {
      {"12. Artist - Song - Winamp", "Artist - Song"},
      {"3. Song - Winamp [Paused]", "Song"},
      {"Song - Winamp", "Song"},                    // no number: no blank to cut at
      {"Artist - Song - Winamp", "- Song"},         // without a number the first word goes
      {"Winamp 5.9", ""},                           // stopped: no "- Winamp"
      {"", ""},                                     //
      {"- Winamp", ""},                             // marker at the very start
      {"x- Winamp", ""},                            //
      {std::string("4. Song\0 - Winamp", 17), ""},  // the title ends at its first zero byte
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SongFromWinampTitle(c.title), c.song) << c.title;
  }
}

}  // namespace
}  // namespace varnek
