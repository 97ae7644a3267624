#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/commands/UserActions.h"
#include "core/model/ControlNames.h"
#include "core/store/OutputPanes.h"
#include "core/text/Product.h"
#include "core/users/UserList.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kWarning =
    "This value can not containt following characters or spaces (excluding spaces in description, email and tag "
    "patterns): $ |";

// Scripted dialogs that can also let the hub speak while an input box is
// open, as the window's modal loop does.
class HubDuringDialogs : public test::FakeDialogs {
 public:
  std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                      const std::string& initial) override {
    if (duringInput) {
      duringInput();
    }
    return FakeDialogs::InputBox(title, prompt, initial);
  }
  std::function<void()> duringInput;
};

// Notes how many commands had been sent when each chat line was written.
class ChatOrder : public OutputPanes::Listener {
 public:
  explicit ChatOrder(const std::vector<std::string>& writes) : writes_(writes) {}
  void OnLineAdded(const OutputPane& pane, const std::string& line) override {
    if (pane.Id() == PaneId::Chat) {
      sentBefore.push_back({line, writes_.size()});
    }
  }
  void OnPaneCleared(const OutputPane&) override {}
  std::vector<std::pair<std::string, std::size_t>> sentBefore;

 private:
  const std::vector<std::string>& writes_;
};

// The bot "B" logged in with two users: alice, fully described with an IP,
// and zero, who shares nothing, reports a zero upload limit and has no IP.
class UserActionsTest : public ::testing::Test {
 protected:
  UserActionsTest()
      : actions({.controls = f.bot->Controls(),
                 .dialogs = dialogs,
                 .kickWatch = f.bot->KickChecks(),
                 .lang = f.bot->Lang(),
                 .panes = f.bot->Panes(),
                 .sender = f.bot->Connection(),
                 .shell = f.fakes.shell,
                 .users = f.bot->Users(),
                 .window = f.fakes.window}),
        order(f.Writes()) {
    f.LogIn("B");
    f.PlainLines();
    f.Receive("$MyINFO $ALL alice my desc<++ V:0.868,M:A,H:1/0/0,S:2,L:512>$ $DSL\x01$alice@mail$1073741824$|");
    f.Receive("$UserIP alice 10.0.0.1|");
    f.Receive("$MyINFO $ALL zero <++ V:1,M:P,H:1/0/0,S:1,L:0>$ $LAN\x01$$0$|");
    f.Writes().clear();
    f.bot->Panes().Clear(PaneId::Chat);
    alice = f.bot->Users().FindUser("alice");
    zero = f.bot->Users().FindUser("zero");
    f.bot->Panes().AddListener(&order);
  }
  ~UserActionsTest() override { f.bot->Panes().RemoveListener(&order); }

  bool Enabled(const char* item) { return f.control(item).Enabled(); }
  void Answer(std::vector<std::optional<std::string>> answers) {
    dialogs.inputAnswers.assign(answers.begin(), answers.end());
  }
  const UserRecord& Row(int row) { return f.bot->Users().Row(row); }

  test::BotFixture f;
  HubDuringDialogs dialogs;
  UserActions actions;
  ChatOrder order;
  int alice = -1;
  int zero = -1;
};

// --- menu ----------------------------------------------------------------

constexpr const char* kSelectionItems[] = {
    ctl::kIpUserPopup,   ctl::kKickUserPopup,      ctl::kRedirectUserPopup,     ctl::kPmUserPopup,
    ctl::kCopyUserPopup, ctl::kAddOpChatUserPopup, ctl::kAddToAllowedUserPopup, ctl::kAddToProtectedUserPopup};

TEST_F(UserActionsTest, MenuWithoutSelectionDisablesTheUserItems) {
  ASSERT_TRUE(Enabled(ctl::kRefreshUserPopup));
  for (int row : {-1, 2, 99}) {
    f.control(ctl::kSendMemo).SetText("text");
    actions.OnMenuPopup(alice);
    actions.OnMenuPopup(row);
    for (const char* item : kSelectionItems) {
      EXPECT_FALSE(Enabled(item)) << item << " row " << row;
    }
    EXPECT_TRUE(Enabled(ctl::kRefreshUserPopup)) << "follows the connection only";
  }
}

TEST_F(UserActionsTest, MenuForAFullyKnownUserEnablesEverything) {
  f.control(ctl::kSendMemo).SetText("hello");
  actions.OnMenuPopup(alice);

  for (const char* item : kSelectionItems) {
    EXPECT_TRUE(Enabled(item)) << item;
  }
  for (const char* item :
       {ctl::kcUsernameUserPopup, ctl::kcShareUserPopup, ctl::kcExactShareUserPopup, ctl::kcDescriptionUserPopup,
        ctl::kcTagUserPopup, ctl::kcModeUserPopup, ctl::kcConnectionUserPopup, ctl::kcStatusUserPopup,
        ctl::kcEmailUserPopup, ctl::kcLimitUserPopup, ctl::kcIpUserPopup, ctl::kcAllUserPopup}) {
    EXPECT_TRUE(Enabled(item)) << item;
  }
}

TEST_F(UserActionsTest, PrivateMessageItemNeedsTextInTheCommandLine) {
  f.control(ctl::kSendMemo).SetText("");
  actions.OnMenuPopup(alice);
  EXPECT_FALSE(Enabled(ctl::kPmUserPopup));
  EXPECT_TRUE(Enabled(ctl::kKickUserPopup));
}

TEST_F(UserActionsTest, MenuDisablesCopiesOfEmptyAndZeroFields) {
  ASSERT_EQ(Row(zero).Cell(UserColumn::ShareSize), "0 B");
  ASSERT_EQ(Row(zero).Cell(UserColumn::ExactShareSize), "0 B");
  ASSERT_EQ(Row(zero).Cell(UserColumn::UploadLimit), "0 KiB/s");
  actions.OnMenuPopup(zero);

  for (const char* item :
       {ctl::kIpUserPopup, ctl::kcShareUserPopup, ctl::kcExactShareUserPopup, ctl::kcDescriptionUserPopup,
        ctl::kcEmailUserPopup, ctl::kcLimitUserPopup, ctl::kcIpUserPopup}) {
    EXPECT_FALSE(Enabled(item)) << item;
  }
  for (const char* item : {ctl::kCopyUserPopup, ctl::kcUsernameUserPopup, ctl::kcTagUserPopup,
                           ctl::kcConnectionUserPopup, ctl::kcAllUserPopup, ctl::kKickUserPopup}) {
    EXPECT_TRUE(Enabled(item)) << item;
  }
}

TEST_F(UserActionsTest, CopyAllItemNeedsSomeField) {
  const int blank = f.bot->Users().AppendUser("");
  actions.OnMenuPopup(blank);
  EXPECT_FALSE(Enabled(ctl::kcAllUserPopup));
  EXPECT_FALSE(Enabled(ctl::kcUsernameUserPopup));

  f.bot->Users().SetCell(blank, UserColumn::Ip, "10.0.0.9");
  actions.OnMenuPopup(blank);
  EXPECT_TRUE(Enabled(ctl::kcAllUserPopup));
}

// --- kick ----------------------------------------------------------------

TEST_F(UserActionsTest, KickWithoutReasonSendsOnlyTheKick) {
  Answer({""});
  actions.Kick(alice);

  ASSERT_EQ(dialogs.inputs.size(), 1u);
  EXPECT_EQ(dialogs.inputs[0].title, "Kick alice");
  EXPECT_EQ(dialogs.inputs[0].prompt, "Reason");
  EXPECT_EQ(dialogs.inputs[0].initial, "");
  EXPECT_EQ(f.ChatLines(), Strings{"*** Kicking alice"});
  EXPECT_EQ(f.Writes(), Strings{"$Kick alice|"});
}

TEST_F(UserActionsTest, KickWithReasonTellsTheUserFirst) {
  const std::string message = "$To: alice From: B $<B> You are beeing kicked because: flood ing|";
  for (bool kickMessage : {true, false}) {
    f.control(ctl::kKickToStatusCheckBox).SetChecked(kickMessage);
    f.Writes().clear();
    Answer({"flood ing"});
    actions.Kick(alice);

    const Strings expected = kickMessage ? Strings{message, "<B> is kicking alice because: flood ing|", "$Kick alice|"}
                                         : Strings{message, "$Kick alice|"};
    EXPECT_EQ(f.Writes(), expected) << kickMessage;
  }
  // The chat line comes before anything is sent.
  ASSERT_EQ(order.sentBefore.size(), 2u);
  for (const auto& line : order.sentBefore) {
    EXPECT_EQ(line, std::make_pair(std::string("*** Kicking alice"), std::size_t{0}));
  }
}

TEST_F(UserActionsTest, KickReasonWithForbiddenCharactersIsRefusedAfterTheKickingLine) {
  for (const char* reason : {"a|b", "cost $5"}) {
    dialogs.messages.clear();
    Answer({reason});
    actions.Kick(alice);

    ASSERT_EQ(dialogs.messages.size(), 1u) << reason;
    EXPECT_EQ(dialogs.messages[0].kind, DialogKind::Warning);
    EXPECT_EQ(dialogs.messages[0].buttons, DialogButtons::Ok);
    EXPECT_EQ(dialogs.messages[0].text, kWarning);
  }
  EXPECT_TRUE(f.Writes().empty());
  EXPECT_EQ(f.ChatLines(), (Strings{"*** Kicking alice", "*** Kicking alice"}));

  // The refused text is still offered next time.
  actions.Kick(alice);
  EXPECT_EQ(dialogs.inputs.back().initial, "cost $5");
}

TEST_F(UserActionsTest, CancelledKickDoesNothingAndKeepsThePreviousReason) {
  Answer({"spam", std::nullopt, std::nullopt});
  actions.Kick(alice);
  f.Writes().clear();
  const auto chatLines = f.ChatLines().size();

  actions.Kick(alice);
  actions.Kick(zero);

  EXPECT_EQ(dialogs.inputs[1].initial, "spam");
  EXPECT_EQ(dialogs.inputs[2].initial, "spam");
  EXPECT_TRUE(f.Writes().empty());
  EXPECT_EQ(f.ChatLines().size(), chatLines);
}

TEST_F(UserActionsTest, KickOfAUserWhoLeftDuringTheDialogOnlyWritesTheLine) {
  dialogs.duringInput = [this] { f.Receive("$Quit alice|"); };
  Answer({"bye"});
  actions.Kick(alice);

  EXPECT_EQ(f.bot->Users().FindUser("alice"), -1);
  EXPECT_EQ(f.ChatLines(), Strings{"*** Kicking alice"});
  EXPECT_TRUE(f.Writes().empty());
}

// --- redirect -------------------------------------------------------------

TEST_F(UserActionsTest, RedirectTellsTheUserThenWritesThenMoves) {
  Answer({"other.hub:411", "hub closes"});
  actions.Redirect(alice);

  ASSERT_EQ(dialogs.inputs.size(), 2u);
  EXPECT_EQ(dialogs.inputs[0].prompt, "Redirect to");
  EXPECT_EQ(dialogs.inputs[1].prompt, "Reason");
  EXPECT_EQ(dialogs.inputs[0].title, "Redirect alice");
  EXPECT_EQ(dialogs.inputs[1].title, "Redirect alice");
  EXPECT_EQ(f.Writes(),
            (Strings{"$To: alice From: B $<B> You are beeing redirected to other.hub:411 because: hub closes|",
                     "$OpForceMove $Who:alice$Where:other.hub:411$Msg:hub closes|"}));
  ASSERT_EQ(order.sentBefore.size(), 1u);
  EXPECT_EQ(order.sentBefore[0], std::make_pair(std::string("*** Redirecting alice to other.hub:411"), std::size_t{1}));

  // Both answers are offered again.
  actions.Redirect(alice);
  EXPECT_EQ(dialogs.inputs[2].initial, "other.hub:411");
}

TEST_F(UserActionsTest, RedirectStopsSilentlyOrWithAWarning) {
  struct Case {
    const char* name;
    std::vector<std::optional<std::string>> answers;
    bool warned;
  };
  const Case cases[] = {
      {"empty reason", {"other.hub", ""}, false},           {"empty address", {"", "why"}, false},
      {"cancelled address", {std::nullopt}, false},         {"cancelled reason", {"other.hub", std::nullopt}, false},
      {"address with a blank", {"other hub", "why"}, true}, {"address with a dollar", {"other$hub", "why"}, true},
      {"address with a bar", {"other|hub", "why"}, true},   {"reason with a bar", {"other.hub", "a|b"}, true},
      {"reason with a dollar", {"other.hub", "a$b"}, true},
  };
  for (const Case& c : cases) {
    dialogs.messages.clear();
    Answer(c.answers);
    actions.Redirect(alice);

    EXPECT_TRUE(f.Writes().empty()) << c.name;
    EXPECT_TRUE(f.ChatLines().empty()) << c.name;
    ASSERT_EQ(dialogs.messages.size(), c.warned ? 1u : 0u) << c.name;
    if (c.warned) {
      EXPECT_EQ(dialogs.messages[0].text, kWarning) << c.name;
    }
  }
}

TEST_F(UserActionsTest, RedirectOfAUserWhoLeftSendsAndWritesNothing) {
  dialogs.duringInput = [this] { f.Receive("$Quit alice|"); };
  Answer({"other.hub", "why"});
  actions.Redirect(alice);

  EXPECT_TRUE(f.Writes().empty());
  EXPECT_TRUE(f.ChatLines().empty());
  EXPECT_TRUE(dialogs.messages.empty());
}

// --- private message, refresh, IP information -----------------------------

TEST_F(UserActionsTest, PrivateMessageSendsTheCommandLineToTheUser) {
  f.control(ctl::kSendMemo).SetText("hi $there\r\nsecond|line");
  actions.PrivateMessage(alice);

  EXPECT_EQ(f.ChatLines(), Strings{"*** Sending private message to alice: hi $there\r\nsecond|line"});
  // One private message, however the text reads: "$" and "|" go escaped.
  EXPECT_EQ(f.Writes(), Strings{"$To: alice From: B $<B> hi &#36;there\r\nsecond&#124;line|"});
  EXPECT_EQ(f.control(ctl::kSendMemo).Text(), "");
  EXPECT_EQ(f.fakes.window.focused.back(), ctl::kSendMemo);
}

TEST_F(UserActionsTest, RefreshEmptiesTheListAtOnceAndAsksTheHub) {
  ASSERT_EQ(f.bot->Users().Count(), 2);
  actions.RefreshList();

  EXPECT_EQ(f.bot->Users().Count(), 0);
  EXPECT_EQ(f.Writes(), Strings{"$GetNickList|"});
  EXPECT_EQ(f.DebugLines().back(), "Sending $GetNickList");

  // The list fills again from the hub's answer.
  f.Receive("$MyINFO $ALL alice my desc<++ V:0.868,M:A,H:1/0/0,S:2>$ $DSL\x01$$5$|");
  EXPECT_EQ(f.bot->Users().Count(), 1);
}

TEST_F(UserActionsTest, IpInformationOpensTheLookupPage) {
  actions.IpInformation(alice);
  EXPECT_EQ(f.fakes.shell.urls, Strings{std::string(kIpInformationUrl) + "10.0.0.1"});
  EXPECT_TRUE(f.fakes.shell.urls[0].ends_with("?ip=10.0.0.1"));
}

// --- copying --------------------------------------------------------------

TEST_F(UserActionsTest, CopyFieldPutsThatColumnOnTheClipboard) {
  const UserRecord& record = Row(alice);
  for (int column = 0; column < kUserColumnCount; ++column) {
    f.fakes.shell.clipboard = "old";
    actions.CopyField(alice, static_cast<UserColumn>(column));
    EXPECT_EQ(f.fakes.shell.clipboard, record.cells[static_cast<std::size_t>(column)]) << column;
  }
  EXPECT_EQ(f.fakes.shell.clipboard, "10.0.0.1");
}

TEST_F(UserActionsTest, CopyAllGivesElevenLabelledLines) {
  const UserRecord& record = Row(zero);
  actions.CopyAll(zero);

  EXPECT_EQ(f.fakes.shell.clipboard,
            "Username: zero\r\n"
            "Share size: 0 B\r\n"
            "Exact share size: 0 B\r\n"
            "Description: \r\n"
            "Tag: <++ V:1,M:P,H:1/0/0,S:1,L:0>\r\n"
            "Mode: " +
                std::string(record.Cell(UserColumn::Mode)) +
                "\r\n"
                "Connection type: LAN\r\n"
                "Status: " +
                std::string(record.Cell(UserColumn::Status)) +
                "\r\n"
                "Email address: \r\n"
                "Upload limit: 0 KiB/s\r\n"
                "IP: ");
  EXPECT_FALSE(record.Cell(UserColumn::Mode).empty());
}

// --- taking the nick into the settings ------------------------------------

TEST_F(UserActionsTest, NickGoesIntoOperatorsChatAllowedAndProtected) {
  const auto statusLines = f.StatusLines().size();
  actions.SetAsOpChat(alice);
  actions.MoveToAllowed(alice);
  actions.MoveToAllowed(alice);
  actions.MoveToProtected(zero);

  EXPECT_EQ(f.control(ctl::kOpChatEdit).Text(), "alice");
  EXPECT_EQ(f.controls().List(ctl::kAllowedListView).Rows(), (Strings{"alice", "alice"}));
  EXPECT_EQ(f.controls().List(ctl::kProtectedListView).Rows(), Strings{"zero"});
  EXPECT_EQ(f.StatusLines().size(), statusLines);
}

TEST_F(UserActionsTest, ActionsOnAVanishedRowDoNothing) {
  f.control(ctl::kSendMemo).SetText("text");
  f.fakes.shell.clipboard = "old";
  for (int row : {-1, 2}) {
    actions.Kick(row);
    actions.Redirect(row);
    actions.PrivateMessage(row);
    actions.IpInformation(row);
    actions.CopyField(row, UserColumn::Ip);
    actions.CopyAll(row);
    actions.SetAsOpChat(row);
    actions.MoveToAllowed(row);
    actions.MoveToProtected(row);
  }
  EXPECT_TRUE(dialogs.inputs.empty());
  EXPECT_TRUE(f.Writes().empty());
  EXPECT_TRUE(f.ChatLines().empty());
  EXPECT_TRUE(f.fakes.shell.urls.empty());
  EXPECT_EQ(f.fakes.shell.clipboard, "old");
  EXPECT_EQ(f.control(ctl::kSendMemo).Text(), "text");
  EXPECT_EQ(f.control(ctl::kOpChatEdit).Text(), "");
  EXPECT_EQ(f.controls().List(ctl::kAllowedListView).Count(), 0);
  EXPECT_EQ(f.controls().List(ctl::kProtectedListView).Count(), 0);
}

}  // namespace
}  // namespace varnek
