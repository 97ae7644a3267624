#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/BotActions.h"
#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/store/LangTable.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

// Kinds of control that show a caption of their own: one that has none once
// the bot runs was forgotten in the language bindings (or in the parts that
// caption it as they go, as the statistics do).
bool ShowsACaption(ControlKind kind) {
  switch (kind) {
    case ControlKind::TabSheet:
    case ControlKind::GroupBox:
    case ControlKind::Label:
    case ControlKind::LinkLabel:
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::MenuItem:
      return true;
    default:
      return false;
  }
}

// Applies a shipped language file; none keeps the built-in English.
void UseLanguage(test::BotFixture& f, const char* file) {
  if (*file != '\0') {
    std::filesystem::copy_file(std::filesystem::path(VARNEK_SOURCE_DIR "/data/translations") / file,
                               f.dir.Path() / "translations" / file);
    f.control(ctl::kLangFileEdit).SetText(file);
    f.bot->ApplyLanguage();
  }
}

TEST(Captions, EveryCaptionedControlHasOneInEveryLanguageConnectedOrNot) {
  for (const char* file : {"", "Deutsch.lang"}) {
    for (bool connected : {false, true}) {
      SCOPED_TRACE(std::string(file) + (connected ? " connected" : " disconnected"));
      test::BotFixture f;
      f.Start();
      UseLanguage(f, file);
      if (connected) {
        f.LogIn();
      }
      f.bot->TimerTick();
      std::vector<std::string> missing;
      for (const Control& control : f.controls().All()) {
        if (ShowsACaption(control.Kind()) && control.Caption().empty()) {
          missing.push_back(control.Name());
        }
      }
      EXPECT_EQ(missing, std::vector<std::string>{});
    }
  }
}

// The user list's column titles are also the captions of its copy menu and
// of fields on the user settings page, which mark their Alt keys with "&".
// As a list's title, a label of a bot reply or a dialog's prompt they are
// text, shown without the mark.
TEST(Captions, CaptionsUsedAsTextLeaveOutTheMarkOfTheirAltKey) {
  for (const char* file : {"", "Deutsch.lang"}) {
    SCOPED_TRACE(file);
    test::BotFixture f;
    f.Start();
    UseLanguage(f, file);
    const LangTable& lang = f.bot->Lang();
    ASSERT_NE(lang.Text(LangUsername).find('&'), std::string::npos) << "the caption marks its Alt key";

    f.LogIn();
    f.AddOperator("op");
    f.Receive("$MyINFO $ALL alice desc<++ V:1,M:A,H:1/0/0,S:2>$ $LAN\x01$a@example.invalid$1024$|");
    f.Writes().clear();
    f.Receive("$To: Guard From: op $<op> %info alice|");
    ASSERT_EQ(f.Writes().size(), 1u);
    const std::string& reply = f.Writes().front();
    EXPECT_NE(reply.find("\t" + lang.Plain(LangUsername) + ": alice"), std::string::npos) << reply;
    EXPECT_EQ(reply.find('&'), std::string::npos) << reply;

    for (const std::string& title : f.control(ctl::kUserListView).Items()) {
      EXPECT_EQ(title.find('&'), std::string::npos) << title;
    }
    for (const char* list : {ctl::kProtectedListView, ctl::kAllowedListView, ctl::kKickNickListView}) {
      EXPECT_EQ(f.control(list).Caption().find('&'), std::string::npos) << list;
    }
    BotActions actions(*f.bot);
    actions.AddPattern(ctl::kProtectedListView);  // the dialog is cancelled
    ASSERT_FALSE(f.fakes.dialogs.inputs.empty());
    EXPECT_EQ(f.fakes.dialogs.inputs.back().prompt, lang.Plain(LangUsername));
  }
}

// The About page's copyright line and thanks are messages like any other
// text of the window, so a language file translates them.
TEST(Captions, AboutPageCopyrightAndThanksFollowTheLanguage) {
  test::BotFixture f;
  f.Start();
  UseLanguage(f, "Deutsch.lang");
  const LangTable& lang = f.bot->Lang();
  EXPECT_EQ(f.control(ctl::kCopyrightLabel).Caption(), lang.Text(LangCopyrightLine));
  EXPECT_EQ(f.control(ctl::kThanksMemo).Text(), lang.Text(LangThanksText));
  EXPECT_NE(lang.Text(LangCopyrightLine), LangTable::EnglishText(LangCopyrightLine));
  EXPECT_NE(lang.Text(LangThanksText), LangTable::EnglishText(LangThanksText));
}

}  // namespace
}  // namespace varnek
