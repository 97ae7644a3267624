#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/hub/HubSession.h"
#include "core/hub/LockToKey.h"
#include "core/model/ControlNames.h"
#include "core/text/Product.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

// --- the key ------------------------------------------------------------------

// Expected keys worked out by hand. For "ABC": byte 0 is 'A'^'C'^'B'^5 = 0x45,
// byte 1 'B'^'A' = 0x03, byte 2 'C'^'B' = 0x01; swapping the halves gives
// 0x54 'T', 0x30 '0' and 0x10. For a two-byte lock "A" x, byte 0 is x^5 and
// byte 1 is 'A'^x, so x = 'A' ^ (the escaped value with its halves swapped)
// puts that value into byte 1.
TEST(LockToKeyTest, KnownLocks) {
  struct Case {
    std::string lock;
    std::string key;
  };
  const Case cases[] = {
      {"ABC", "T0\x10"},
      {"ABC Pk=PtokaX", "T0\x10"},  // only the part before " Pk" counts
      {"ABC Pk=x Pk=y", "T0\x10"},
      {"A\x41", "D/%DCN000%/"},
      {"A\x11", "A/%DCN005%/"},
      {"A\x03", "/%DCN096%//%DCN036%/"},
      {"A\x47", "/%DCN036%//%DCN096%/"},
      {"A\x86", "8/%DCN124%/"},
      {"A\xA6", ":/%DCN126%/"},
      // A real-looking lock, checked against an independent computation.
      {"EXTENDEDPROTOCOLABCABCABCABCABCABC Pk=TestHub",
       "\x14\xd1\xc0\x11\xb0\xa0\x10\x10"
       "A \xd1\xb1\xb1\xc0\xc0"
       "0\xd0"
       "0\x10 0\x10 0\x10 0\x10 0\x10 0\x10"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LockToKey(c.lock), c.key) << c.lock;
  }
}

TEST(LockToKeyTest, KeyNeverHoldsARawBar) {
  for (int b = 0; b < 256; ++b) {
    std::string lock = "A";
    lock += static_cast<char>(b);
    lock += "xyz";
    EXPECT_EQ(LockToKey(lock).find('|'), std::string::npos) << b;
  }
}

// Too short to mix in the last two bytes: the missing ones count as zero.
TEST(LockToKeyTest, ShortLocksGiveAFixedKey) {
  EXPECT_EQ(LockToKey(""), "");
  EXPECT_EQ(LockToKey(" Pk=hub"), "");
  EXPECT_EQ(LockToKey("A"), "P");  // 'A'^'A'^0^5 = 5, swapped 0x50
  EXPECT_EQ(LockToKey("A"), LockToKey("A Pk=other"));
}

// --- the handshake -------------------------------------------------------------

// Connected as "Guard" (not logged in), pane lines without stamps.
class LoginTest : public ::testing::Test {
 protected:
  LoginTest() {
    f.Connect();
    f.PlainLines();
    f.bot->Panes().Clear(PaneId::Debug);
  }
  HubSession& session() { return f.bot->Session(); }

  static std::string OwnMyInfo(const std::string& mode) {
    return "$MyINFO $ALL Guard <Varnek V:" + std::string(kProductVersion) + ",M:" + mode +
           ",H:0/0/1,S:0>$ $Bot\x01$$0$|";
  }

  test::BotFixture f;
};

TEST_F(LoginTest, EveryHubGetsFeaturesThenKeyThenNick) {
  // The hub software is still told apart (it decides the information requests
  // later), but the answer to the lock is the same for all: PtokaX drops a
  // client whose feature list follows its key.
  struct Case {
    std::string lock;
    std::string software;
  };
  const Case cases[] = {
      {"EXTENDEDPROTOCOL_abc Pk=PtokaX", "ptokax"},
      {"EXTENDEDPROTOCOL_abc Pk=YnHub PtokaX", "ynhub"},
      {"EXTENDEDPROTOCOL_abc Pk=verlihub 1.0", "verlihub"},
      {"EXTENDEDPROTOCOL_abc Pk=Verlihub 1.7", "other"},  // case-sensitive
      {"EXTENDEDPROTOCOL_abc Pk=ptokax", "other"},
      {"ABC", "other"},
  };
  for (const Case& c : cases) {
    f.Writes().clear();
    f.Receive("$Lock " + c.lock + "|");

    EXPECT_EQ(f.Writes(), (std::vector<std::string>{"$Supports NoHello NoGetINFO UserIP2 ChatOnly|",
                                                    "$Key " + LockToKey(c.lock) + "|", "$ValidateNick Guard|"}))
        << c.lock;
    EXPECT_EQ(session().hubSoftware, c.software) << c.lock;
  }
}

TEST_F(LoginTest, NiceLinesNameEachStep) {
  f.Receive("$Lock ABC Pk=x|$ValidateDenide Guard|$GetPass|$BadPass|$HubIsFull|$Supports A B|$LogedIn|");
  EXPECT_EQ(f.DebugLines(),
            (std::vector<std::string>{"Receiving $Lock", "Sending $Supports", "Sending $Key", "Sending $ValidateNick",
                                      "Username is already used: Guard", "Receiving $GetPass", "Receiving $BadPass",
                                      "Receiving $HubIsFull", "Receiving $Supports", "Receiving $LogedIn",
                                      "Sending $Version", "Sending $GetNickList", "Sending $MyINFO"}));
  EXPECT_EQ(session().hubSupports, "A B");
  EXPECT_TRUE(f.bot->Connection().Connected()) << "refusals never close the connection";
}

TEST_F(LoginTest, LoginInfoGoesOutOnceWhicheverGreetingComesFirst) {
  for (const std::string greeting : {"$LogedIn|$Hello Guard|", "$Hello Guard|$LogedIn|", "$LogedIn Guard|$LogedIn|"}) {
    f.fakes.transport.PeerClose();
    f.Connect();
    f.Writes().clear();

    f.Receive(greeting);

    EXPECT_EQ(f.Writes(), (std::vector<std::string>{"$Version 1,0091|", "$GetNickList|", OwnMyInfo("P")})) << greeting;
    EXPECT_TRUE(session().loginInfoSent);
  }
}

TEST_F(LoginTest, HelloOfAnotherNickIsNoGreeting) {
  f.Receive("$Hello guard|$Hello Guard2|");
  EXPECT_TRUE(f.Writes().empty());
  EXPECT_FALSE(session().loginInfoSent);
}

TEST_F(LoginTest, OwnMyInfoByteForByte) {
  f.control(ctl::kDescriptionEdit).SetText("watching you");
  f.control(ctl::kEmailAddressEdit).SetText("ops@hub.example");
  const std::pair<int, std::string> modes[] = {{0, "P"}, {1, "A"}, {-1, ""}};
  for (const auto& [mode, letter] : modes) {
    f.control(ctl::kModeComboBox).SetValue(mode);
    f.Writes().clear();

    f.bot->LoginHandler().ResendMyInfo();

    const std::string expected = "$MyINFO $ALL Guard watching you<Varnek V:" + std::string(kProductVersion) +
                                 ",M:" + letter + ",H:0/0/1,S:0>$ $Bot\x01$ops@hub.example$0$|";
    EXPECT_EQ(f.Writes(), std::vector<std::string>{expected}) << mode;
  }
  EXPECT_TRUE(f.DebugLines().empty()) << "a resend writes no Nice line";
  EXPECT_FALSE(session().loginInfoSent);
}

TEST_F(LoginTest, ResendPublishesCurrentFields) {
  f.Receive("$Hello Guard|");
  f.control(ctl::kDescriptionEdit).SetText("new words");
  f.Writes().clear();

  f.bot->LoginHandler().ResendMyInfo();

  EXPECT_EQ(f.Writes(), std::vector<std::string>{"$MyINFO $ALL Guard new words<Varnek V:" +
                                                 std::string(kProductVersion) + ",M:P,H:0/0/1,S:0>$ $Bot\x01$$0$|"});
  EXPECT_TRUE(session().loginInfoSent);
}

TEST_F(LoginTest, StoredPasswordAnswersTheRequest) {
  f.control(ctl::kPasswordEdit).SetText("se cret$");
  f.Receive("$GetPass|");
  EXPECT_EQ(f.Writes(), std::vector<std::string>{"$MyPass se cret$|"});
  EXPECT_EQ(f.control(ctl::kSendMemo).Text(), "");
}

TEST_F(LoginTest, EmptyPasswordPreparesTheConsole) {
  for (const int page : {7, 0}) {
    f.control(ctl::kPageControl).SetValue(page);
    f.control(ctl::kSendMemo).SetEnabled(false);
    f.control(ctl::kSendButton).SetEnabled(false);
    f.control(ctl::kSendMemo).SetText("");
    f.fakes.window.focused.clear();

    f.Receive("$GetPass|");

    EXPECT_TRUE(f.Writes().empty());
    EXPECT_TRUE(f.control(ctl::kSendMemo).Enabled());
    EXPECT_TRUE(f.control(ctl::kSendButton).Enabled());
    EXPECT_EQ(f.control(ctl::kSendMemo).Text(), "%password ");
    const auto expectedFocus = page == 7 ? std::vector<std::string>{ctl::kSendMemo} : std::vector<std::string>{};
    EXPECT_EQ(f.fakes.window.focused, expectedFocus) << page;
  }
  f.control(ctl::kTriggerComboBox).SetValue(3);
  f.Receive("$GetPass|");
  EXPECT_EQ(f.control(ctl::kSendMemo).Text(), "!password ");
}

TEST_F(LoginTest, HelloOfANewcomerAsksForWhatTheHubDoesNotSend) {
  struct Case {
    std::string lock;
    std::string supports;  // empty: the hub sent none
    std::vector<std::string> writes;
  };
  const Case cases[] = {
      {"ABC", "", {}},
      {"ABC", "NoGetINFO UserIP2", {}},
      {"ABC", "NoHello", {"$GetINFO alice Guard|", "$UserIP alice|"}},
      {"ABC", "NoHello NoGetINFO", {"$UserIP alice|"}},
      {"ABC", "UserIP2", {"$GetINFO alice Guard|"}},
      {"ABC Pk=PtokaX", "NoHello", {}},
  };
  for (const Case& c : cases) {
    f.fakes.transport.PeerClose();
    f.Connect();
    f.Receive("$Lock " + c.lock + "|$Hello Guard|");
    if (!c.supports.empty()) {
      f.Receive("$Supports " + c.supports + "|");
    }
    f.Writes().clear();

    f.Receive("$Hello alice|");

    EXPECT_EQ(f.Writes(), c.writes) << c.lock << " / " << c.supports;
  }
}

TEST_F(LoginTest, DisconnectForgetsTheHub) {
  f.Receive("$Lock ABC Pk=PtokaX|$Supports NoHello|$Hello Guard|");
  f.fakes.transport.PeerClose();
  EXPECT_EQ(session().hubSoftware, "");
  EXPECT_EQ(session().hubSupports, "");
  EXPECT_FALSE(session().loginInfoSent);

  f.Connect();
  f.Writes().clear();
  f.Receive("$Hello Guard|");
  EXPECT_EQ(f.Writes().size(), 3u) << "the login info goes out again on the new connection";
}

}  // namespace
}  // namespace varnek
