#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/model/ControlNames.h"
#include "core/model/Triggers.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

using Lines = std::vector<std::string>;

constexpr int kSectionSignTrigger = 2;
const std::string kSectionSign = "\xC2\xA7";  // in UTF-8

struct CodePageCase {
  int trigger;
  std::string codePage;
  std::string bytes;
};

TEST(TriggerInCodePageTest, IsTheChoiceInTheHubsCodePage) {
  const CodePageCase cases[] = {
      {0, "UTF-8", "%"},
      {kSectionSignTrigger, "windows-1252", "\xA7"},
      {kSectionSignTrigger, "UTF-8", kSectionSign},
      {kSectionSignTrigger, "KOI8-R", "\xA7"},  // no section sign there: the choice's own byte
  };
  const test::FakeCodePages codePages;
  for (const CodePageCase& c : cases) {
    EXPECT_EQ(TriggerInCodePage(c.trigger, c.codePage, codePages), c.bytes) << c.trigger << " " << c.codePage;
  }
}

// A logged-in bot "Guard" on a UTF-8 hub with the section sign as trigger;
// "op" is an operator.
class SectionSignOnUtf8HubTest : public ::testing::Test {
 protected:
  SectionSignOnUtf8HubTest() {
    f.control(ctl::kEncodingComboBox).SetText("UTF-8");
    f.control(ctl::kTriggerComboBox).SetValue(kSectionSignTrigger);
    f.LogIn("Guard");
    f.PlainLines();
    f.AddOperator("op");
    f.Writes().clear();
  }

  void FromOperator(const std::string& words) { f.Receive("$To: Guard From: op $<op> " + words + "|"); }
  static std::string Reply(const std::string& text) { return "$To: op From: Guard $<Guard> " + text + "|"; }

  test::BotFixture f;
};

TEST_F(SectionSignOnUtf8HubTest, BotCommandsAreMatchedAndAnsweredInTheHubsBytes) {
  FromOperator(
      "\xA7"
      "fake 1");  // the windows-1252 byte is nothing on this hub
  EXPECT_EQ(f.Writes(), Lines{});
  EXPECT_FALSE(f.control(ctl::kKickFakeCheckBox).Checked());

  FromOperator(kSectionSign + "fake 1");
  FromOperator(kSectionSign + "fake yes");
  EXPECT_TRUE(f.control(ctl::kKickFakeCheckBox).Checked());
  EXPECT_EQ(f.Writes(), (Lines{Reply("Fake share detection changed to: 1"),
                               Reply("Wrong parameter specified for command. Type " + kSectionSign +
                                     "help to see the available parameters.")}));

  f.Writes().clear();
  FromOperator(kSectionSign + "help");
  ASSERT_EQ(f.Writes().size(), 1u);
  const std::string& help = f.Writes()[0];
  EXPECT_NE(help.find("\r\n\t" + kSectionSign + "fake <1/0>\t\t\t- "), std::string::npos) << help;
  EXPECT_EQ(help.find("\t\xA7"), std::string::npos) << help;
}

TEST_F(SectionSignOnUtf8HubTest, TheConsoleItsHelpAndThePasswordPromptUseTheHubsBytes) {
  EXPECT_NE(f.control(ctl::kHelpMemo).Text().find(kSectionSign + "varnek - Sends bot statistics"), std::string::npos);
  f.Receive("$GetPass|");
  EXPECT_EQ(f.control(ctl::kSendMemo).Text(), kSectionSign + "password ");

  f.control(ctl::kSendMemo).SetText(kSectionSign + "password s3cret");
  f.bot->OperatorConsole().SendButtonClick();
  f.control(ctl::kSendMemo).SetText(kSectionSign + "help");
  f.bot->OperatorConsole().SendButtonClick();
  EXPECT_EQ(f.Writes(), Lines{"$MyPass s3cret|"});
  ASSERT_FALSE(f.ChatLines().empty());
  EXPECT_NE(f.ChatLines().back().find("\t" + kSectionSign + "help"), std::string::npos);

  // Back on a windows-1252 hub, the help memo follows at once.
  f.control(ctl::kEncodingComboBox).SetText("windows-1252");
  EXPECT_NE(f.control(ctl::kHelpMemo)
                .Text()
                .find("\n\xA7"
                      "varnek - "),
            std::string::npos);
}

}  // namespace
}  // namespace varnek
