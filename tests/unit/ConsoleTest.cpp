#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/commands/Console.h"
#include "core/model/ControlNames.h"
#include "core/store/LangTable.h"
#include "core/text/Product.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

constexpr const char* kHelp = "List of available bot commands\r\n\r\n\t!help\t\t\t\t- This list of commands\r\n";
constexpr int kExclamationTrigger = 3;

Console::Context ConsoleContext(test::BotFixture& f) {
  return {.codePages = f.fakes.codePages,
          .connection = f.bot->Connection(),
          .controls = f.bot->Controls(),
          .lang = f.bot->Lang(),
          .media = f.fakes.media,
          .panes = f.bot->Panes(),
          .sender = f.bot->Connection(),
          .shell = f.fakes.shell,
          .window = f.fakes.window};
}

// Trigger "!" and the bot's nick "B", logged in, pane lines without stamps.
class ConsoleTest : public ::testing::Test {
 protected:
  ConsoleTest() : console(ConsoleContext(f), [] { return std::string(kHelp); }) {
    f.LogIn("B");
    f.PlainLines();
    f.bot->Panes().Clear(PaneId::Chat);
    f.control(ctl::kTriggerComboBox).SetValue(kExclamationTrigger);
  }

  void Type(const std::string& text) { f.control(ctl::kSendMemo).SetText(text); }
  void Send(const std::string& text) {
    Type(text);
    console.SendButtonClick();
  }
  const std::string& Memo() { return f.control(ctl::kSendMemo).Text(); }

  test::BotFixture f;
  Console console;
};

TEST_F(ConsoleTest, PlainWordsGoToMainChatAndEmptyTheLine) {
  Send("hello $ and | all");

  EXPECT_EQ(f.Writes(), std::vector<std::string>{"<B> hello $ and | all|"});
  EXPECT_EQ(Memo(), "");
  EXPECT_EQ(f.fakes.window.focused.back(), ctl::kSendMemo);
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
  f.control(ctl::kKickFakeCheckBox).SetChecked(false);
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
  EXPECT_FALSE(f.control(ctl::kKickFakeCheckBox).Checked());
  EXPECT_TRUE(f.fakes.shell.urls.empty());
  EXPECT_TRUE(f.ChatLines().empty());
}

// A front end without a chat pane confirms a line said in main chat; the
// local commands (whose texts never reach the chat as typed) are no such line.
TEST_F(ConsoleTest, TheClickSaysWhetherTheLineWasSaidInMainChat) {
  const std::pair<std::string, bool> cases[] = {
      {"hello all", true},    {"!fake 1", true}, {"!password x", false}, {"!varnek", false},
      {"!google x y", false}, {"!help", false},  {"!winamp", false},     {"", false},
  };
  for (const auto& [text, said] : cases) {
    Type(text);
    EXPECT_EQ(console.SendButtonClick(), said) << text;
  }
}

TEST_F(ConsoleTest, StatisticsShowTheCurrentLabels) {
  f.control(ctl::kDetectionsLabel).SetCaption("Detections: 7");
  f.control(ctl::kKicksNotCarriedOutLabel).SetCaption("Kicks not carried out: 2");
  f.control(ctl::kUptimeLabel).SetCaption("Uptime: 1 hour");
  f.control(ctl::kSystemUptimeLabel).SetCaption("System uptime: 3 days");

  Send("!varnek");

  ASSERT_EQ(f.Writes().size(), 1u);
  EXPECT_EQ(f.Writes()[0], std::string("<B> Varnek statistics:\r\n\r\n") +
                               " Detections: 7\r\n Kicks not carried out: 2\r\n Uptime: 1 hour\r\n"
                               " System uptime: 3 days\r\n" +
                               " Version: " + std::string(kProductVersion) + "\r\n Website: " + kWebsite + "\r\n|");
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
  f.control(ctl::kNoLogCheckBox).SetChecked(true);
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
  f.control(ctl::kTimestampsCheckBox).SetChecked(true);
  f.control(ctl::kTimestampsDateCheckBox).SetChecked(false);

  console.ShowLocalHelp();

  EXPECT_EQ(f.ChatLines(), std::vector<std::string>{std::string("[14:05:09]: *** ") + kHelp});
}

// The player's texts are not the operator's: they never end the chat line.
TEST_F(ConsoleTest, WinampSongGoesToMainChatEscaped) {
  struct Case {
    PlayingSong song;
    std::string sent;
  };
  const Case cases[] = {
      {{"Artist", "Song"}, "<B> Listening to: Artist - Song|"},
      {{"", "Song"}, "<B> Listening to: Song|"},
      {{"Art$ist", "song|$Kick zed"}, "<B> Listening to: Art&#36;ist - song&#124;&#36;Kick zed|"},
      {{"|", "$"}, "<B> Listening to: &#124; - &#36;|"},
  };
  for (const Case& c : cases) {
    f.Writes().clear();
    f.fakes.media.song = c.song;
    Send("!winamp now");
    EXPECT_EQ(f.Writes(), std::vector<std::string>{c.sent}) << c.song.title;
    EXPECT_EQ(Memo(), "");
  }
  EXPECT_EQ(f.fakes.media.requests, 4);
}

TEST_F(ConsoleTest, WinampNotRunningIsOnlyShown) {
  Send("!winamp");

  EXPECT_EQ(f.ChatLines(), std::vector<std::string>{"*** Winamp is not running"});
  EXPECT_TRUE(f.Writes().empty());
  EXPECT_EQ(Memo(), "");
}

// The console is free again at once; each request gets its own answer when
// the player gives it.
TEST_F(ConsoleTest, WinampAnswersComeLaterOneForEachRequest) {
  f.fakes.media.answerLater = true;
  Send("!winamp");
  Send("!winamp");
  Send("after");

  EXPECT_EQ(f.fakes.media.requests, 2);
  EXPECT_EQ(f.Writes(), std::vector<std::string>{"<B> after|"});
  EXPECT_EQ(Memo(), "");

  f.fakes.media.Answer(PlayingSong{"Artist", "Song"});
  f.fakes.media.Answer(std::nullopt);

  EXPECT_EQ(f.Writes(), (std::vector<std::string>{"<B> after|", "<B> Listening to: Artist - Song|"}));
  EXPECT_EQ(f.ChatLines(), std::vector<std::string>{"*** Winamp is not running"});
  EXPECT_TRUE(f.fakes.media.pending.empty());
}

TEST_F(ConsoleTest, WinampTitleAfterTheConnectionClosedIsDropped) {
  f.control(ctl::kFullLogCheckBox).SetChecked(true);
  f.fakes.media.answerLater = true;
  Send("!winamp");
  f.fakes.transport.PeerClose();

  f.fakes.media.Answer(PlayingSong{"Artist", "Song"});

  EXPECT_TRUE(f.Writes().empty());
  for (const std::string& line : f.DebugLines()) {
    EXPECT_EQ(line.find("Listening to"), std::string::npos) << line;
  }
}

TEST_F(ConsoleTest, WinampAnswerAfterTheConsoleIsGoneIsIgnored) {
  f.fakes.media.answerLater = true;
  auto gone = std::make_unique<Console>(ConsoleContext(f), [] { return std::string(); });
  f.control(ctl::kSendMemo).SetText("!winamp");
  gone->SendButtonClick();
  gone.reset();

  f.fakes.media.Answer(PlayingSong{"Artist", "Song"});

  EXPECT_TRUE(f.Writes().empty());
  EXPECT_TRUE(f.ChatLines().empty());
}

// A translated message that cannot be formatted makes the late answer fail;
// the failure reaches the last-resort question instead of the event loop.
TEST(ConsoleBoundaryTest, WinampAnswerFailsIntoTheLastResortQuestion) {
  test::BotFixture f;
  f.LogIn("B");
  f.bot->Lang().SetText(LangListeningTo, "Listening to: %s %s");
  f.fakes.media.answerLater = true;
  f.control(ctl::kSendMemo).SetText("%winamp");
  f.bot->Run([&] { f.bot->OperatorConsole().SendButtonClick(); });

  EXPECT_NO_THROW(f.fakes.media.Answer(PlayingSong{"Artist", "Song"}));

  ASSERT_EQ(f.fakes.dialogs.messages.size(), 1u);
  EXPECT_EQ(f.fakes.dialogs.messages[0].question, Question::UnexpectedError);
  EXPECT_TRUE(f.Writes().empty());
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

}  // namespace
}  // namespace varnek
