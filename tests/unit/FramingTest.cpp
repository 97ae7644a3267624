#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/hub/HubConnection.h"
#include "core/model/ControlNames.h"
#include "core/model/ProtocolCounters.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

std::uint32_t TotalSent(const ProtocolCounters& counters) {
  std::uint32_t total = 0;
  for (int i = 0; i < kSentCounterCount; ++i) {
    total += counters.Sent(static_cast<SentCounter>(i));
  }
  return total;
}

// Logged in as "Guard", pane lines without stamps, panes and writes empty.
class FramingTest : public ::testing::Test {
 protected:
  FramingTest() {
    f.LogIn();
    f.PlainLines();
    ClearPanes();
  }
  void ClearPanes() {
    for (PaneId pane : {PaneId::Chat, PaneId::Status, PaneId::Debug}) {
      f.bot->Panes().Clear(pane);
    }
  }
  HubConnection& connection() { return f.bot->Connection(); }
  ProtocolCounters& counters() { return f.bot->Counters(); }

  test::BotFixture f;
};

// --- receiving --------------------------------------------------------------

TEST_F(FramingTest, CommandsAreHandledWholeAndInOrderHoweverTheReadsCutThem) {
  struct Case {
    const char* name;
    std::vector<std::string> reads;
  };
  const std::string stream = "$HubName The Hub|<hub> hi there|$HubTopic a b|";
  std::vector<std::string> bytewise;
  for (char c : stream) {
    bytewise.emplace_back(1, c);
  }
  const Case cases[] = {
      {"one read", {stream}},
      {"bar in its own read", {"$HubName The Hub", "|<hub> hi there|$HubTopic a b", "|"}},
      {"split inside the names", {"$Hub", "Name The Hub|<hub> hi", " there|$Hub", "Topic a b|"}},
      {"one byte per read", bytewise},
      {"empty commands around", {"|$HubName The Hub||", "|<hub> hi there|||$HubTopic a b|", "|"}},
  };
  for (const Case& c : cases) {
    ClearPanes();
    const auto chatBefore = counters().Received(ReceivedCounter::MainChat);
    for (const std::string& read : c.reads) {
      f.Receive(read);
    }
    EXPECT_EQ(f.DebugLines(), (std::vector<std::string>{"Receiving hub name: The Hub", "Receiving hub topic: a b"}))
        << c.name;
    EXPECT_EQ(f.ChatLines(), std::vector<std::string>{"<hub> hi there"}) << c.name;
    EXPECT_EQ(counters().Received(ReceivedCounter::MainChat), chatBefore + 1) << c.name;
    EXPECT_EQ(connection().PendingBytes(), 0u) << c.name;
  }
}

TEST_F(FramingTest, CommandWaitsForItsBar) {
  f.Receive("$HubTopic first|$HubTopic sec");
  EXPECT_EQ(f.DebugLines(), std::vector<std::string>{"Receiving hub topic: first"});
  EXPECT_EQ(connection().PendingBytes(), 13u);  // "$HubTopic sec"

  f.Receive("ond");
  EXPECT_EQ(f.DebugLines().size(), 1u);

  f.Receive("|");
  EXPECT_EQ(f.DebugLines(), (std::vector<std::string>{"Receiving hub topic: first", "Receiving hub topic: second"}));
  EXPECT_EQ(counters().Received(ReceivedCounter::HubTopic), 2u);
}

TEST_F(FramingTest, DisconnectDropsPartialCommand) {
  f.Receive("$HubTopic lost");
  f.fakes.transport.PeerClose();
  EXPECT_EQ(connection().PendingBytes(), 0u);

  f.Connect();
  f.Receive("|$HubTopic kept|");

  EXPECT_EQ(f.DebugLines(), std::vector<std::string>{"Receiving hub topic: kept"});
  EXPECT_EQ(counters().Received(ReceivedCounter::HubTopic), 1u);
}

TEST_F(FramingTest, FullDebugEchoesEachReadAsReceived) {
  f.control(ctl::kFullLogCheckBox).SetChecked(true);

  f.Receive("$HubTopic a|$Hub");
  f.Receive("Topic b|");

  EXPECT_EQ(f.DebugLines(), (std::vector<std::string>{"H -> C: $HubTopic a|$Hub", "H -> C: Topic b|"}));
}

// --- the 64 MiB guard -------------------------------------------------------

// Reads that add up to exactly the limit without a "|": nothing happens yet.
void ReceiveUpToTheLimit(test::BotFixture& f, const std::string& head) {
  constexpr std::size_t kChunk = HubConnection::kMaxPendingBytes / 8;
  std::string chunk(kChunk, 'x');
  chunk.replace(0, head.size(), head);
  f.Receive(chunk);
  chunk.assign(kChunk, 'x');
  for (int i = 1; i < 8; ++i) {
    f.Receive(chunk);
  }
}

TEST_F(FramingTest, CommandOfExactlyTheLimitIsStillHandled) {
  f.control(ctl::kNoLogCheckBox).SetChecked(true);
  ReceiveUpToTheLimit(f, "$HubTopic ");
  EXPECT_TRUE(connection().Connected());
  EXPECT_EQ(connection().PendingBytes(), HubConnection::kMaxPendingBytes);

  f.Receive("|");

  EXPECT_EQ(counters().Received(ReceivedCounter::HubTopic), 1u);
  EXPECT_EQ(connection().PendingBytes(), 0u);
  EXPECT_TRUE(connection().Connected());
  EXPECT_TRUE(f.ChatLines().empty());
}

TEST_F(FramingTest, MoreThanTheLimitWithoutBarDropsTheConnection) {
  f.control(ctl::kNoLogCheckBox).SetChecked(true);
  ReceiveUpToTheLimit(f, "$HubTopic ");

  f.Receive("x");

  EXPECT_EQ(f.ChatLines(), (std::vector<std::string>{"*** Error: 10040", "*** Disconnected"}));
  EXPECT_FALSE(connection().Connected());
  EXPECT_EQ(connection().PendingBytes(), 0u);
  EXPECT_EQ(counters().Received(ReceivedCounter::HubTopic), 0u);
  EXPECT_TRUE(f.bot->Session().reconnectPending);
  EXPECT_EQ(f.fakes.transport.closes, 1);
}

// --- sending ----------------------------------------------------------------

TEST_F(FramingTest, SendAddsTheBarOnceAndCounts) {
  struct Case {
    std::string text;
    std::string written;
    SentCounter counter;
  };
  const Case cases[] = {
      {"$GetNickList", "$GetNickList|", SentCounter::GetNickList},
      {"$GetNickList|", "$GetNickList|", SentCounter::GetNickList},
      {"<Guard> hello", "<Guard> hello|", SentCounter::MainChat},
      // A raw template of three commands goes out in one piece, counted once.
      {"$To: bob From: Guard $<Guard> bye|$Kick bob|$UserIP bob",
       "$To: bob From: Guard $<Guard> bye|$Kick bob|$UserIP bob|", SentCounter::To},
      {"$Key abc", "$Key abc|", SentCounter::Key},
  };
  for (const Case& c : cases) {
    f.Writes().clear();
    const auto before = counters().Sent(c.counter);
    const auto total = TotalSent(counters());

    EXPECT_TRUE(f.bot->Connection().SendCommand(c.text));

    EXPECT_EQ(f.Writes(), std::vector<std::string>{c.written}) << c.text;
    EXPECT_EQ(counters().Sent(c.counter), before + 1) << c.text;
    EXPECT_EQ(TotalSent(counters()), total + 1) << c.text;
  }
  EXPECT_TRUE(f.fakes.dialogs.messages.empty());
}

TEST_F(FramingTest, TextMatchingNoRowIsSentButCountedNowhere) {
  const auto total = TotalSent(counters());
  f.bot->Connection().SendCommand("$Search Hub:Guard F?T?0?1?x");
  EXPECT_EQ(f.Writes(), std::vector<std::string>{"$Search Hub:Guard F?T?0?1?x|"});
  EXPECT_EQ(TotalSent(counters()), total);
}

TEST_F(FramingTest, TextNotStartingWithDollarOrAngleIsRefused) {
  f.control(ctl::kFullLogCheckBox).SetChecked(true);
  for (const std::string text : {"GetNickList", "", " $Key x", "|"}) {
    f.fakes.dialogs.messages.clear();
    const auto total = TotalSent(counters());

    EXPECT_FALSE(f.bot->Connection().SendCommand(text));

    EXPECT_TRUE(f.Writes().empty()) << text;
    EXPECT_EQ(TotalSent(counters()), total) << text;
    ASSERT_EQ(f.fakes.dialogs.messages.size(), 1u) << text;
    const auto& message = f.fakes.dialogs.messages[0];
    EXPECT_EQ(message.kind, DialogKind::Warning);
    EXPECT_EQ(message.buttons, DialogButtons::Ok);
    EXPECT_EQ(message.text,
              "Incorrect protocol message which does not starts with \"$\" or \"<\" was not sent: " + text);
  }
  EXPECT_TRUE(f.DebugLines().empty());
}

TEST_F(FramingTest, FullDebugEchoesTheTextAndOneBar) {
  f.control(ctl::kFullLogCheckBox).SetChecked(true);
  f.control(ctl::kTimestampsCheckBox).SetChecked(true);

  f.bot->Connection().SendCommand("$Key abc");
  f.bot->Connection().SendCommand("$Key abc|");

  EXPECT_EQ(f.DebugLines(), (std::vector<std::string>{"[2026-12-10 @ 14:05:09]: C -> H: $Key abc|",
                                                      "[2026-12-10 @ 14:05:09]: C -> H: $Key abc||"}));
}

TEST_F(FramingTest, WritesWhileClosedAreDroppedButCountedAndEchoed) {
  f.fakes.transport.PeerClose();
  f.control(ctl::kFullLogCheckBox).SetChecked(true);
  const auto before = counters().Sent(SentCounter::GetNickList);

  EXPECT_TRUE(f.bot->Connection().SendCommand("$GetNickList"));

  EXPECT_TRUE(f.Writes().empty());
  EXPECT_EQ(counters().Sent(SentCounter::GetNickList), before + 1);
  EXPECT_EQ(f.DebugLines(), std::vector<std::string>{"C -> H: $GetNickList|"});
}

// --- socket events ----------------------------------------------------------

TEST_F(FramingTest, SocketErrorsEndInTheDisconnectedState) {
  struct Case {
    SocketErrorKind kind;
    std::vector<std::string> chat;
  };
  const Case cases[] = {
      {SocketErrorKind::Connect, {"*** Error: 10061", "*** Disconnected"}},
      {SocketErrorKind::General, {"*** Error: 10061", "*** Disconnected"}},
      {SocketErrorKind::Send, {"*** Error: 10061", "*** Disconnected"}},
      {SocketErrorKind::Receive, {"*** Error: 10061", "*** Disconnected"}},
      {SocketErrorKind::Disconnect, {"*** Error: 10061", "*** Disconnected"}},
      {SocketErrorKind::Accept, {"*** Error: 10061", "*** Disconnected"}},
      // A failed name lookup has no error line of its own.
      {SocketErrorKind::Lookup, {"*** Disconnected"}},
  };
  f.fakes.transport.PeerClose();
  for (const Case& c : cases) {
    ClearPanes();
    f.bot->Session().reconnectPending = false;
    const auto opens = f.fakes.transport.opens.size();
    const auto closes = f.fakes.transport.closes;
    // A refused connection: the socket was opened but never connected.
    f.bot->Run([this] { f.bot->Life().ConnectAction(); });
    ASSERT_EQ(f.fakes.transport.opens.size(), opens + 1);

    f.fakes.transport.Fail(c.kind, 10061);

    EXPECT_EQ(f.ChatLines(), c.chat) << static_cast<int>(c.kind);
    EXPECT_FALSE(connection().Connected());
    EXPECT_TRUE(f.bot->Session().reconnectPending);
    EXPECT_EQ(f.fakes.transport.closes, closes + 1);
  }
}

TEST_F(FramingTest, ErrorWhileConnectedDropsTheConnection) {
  f.Receive("$HubTopic half");
  f.fakes.transport.Fail(SocketErrorKind::Receive, 10054);

  EXPECT_EQ(f.ChatLines(), (std::vector<std::string>{"*** Error: 10054", "*** Disconnected"}));
  EXPECT_FALSE(connection().Connected());
  EXPECT_EQ(connection().PendingBytes(), 0u);
  f.bot->Connection().SendCommand("$GetNickList");
  EXPECT_TRUE(f.Writes().empty());
}

// --- a handler with a modal dialog ------------------------------------------

// Dialogs whose event loop delivers the hub's bytes while they are open, as
// the window's nested event loop does.
class DialogsThatLetBytesIn : public test::FakeDialogs {
 public:
  DialogAnswer MessageBox(DialogKind kind, DialogButtons buttons, const std::string& text, Question question) override {
    if (whileOpen) {
      auto run = std::move(whileOpen);
      whileOpen = nullptr;
      run();
    }
    return FakeDialogs::MessageBox(kind, buttons, text, question);
  }
  std::function<void()> whileOpen;
};

class ModalHandlerTest : public ::testing::Test {
 protected:
  ModalHandlerTest() {
    f.bot.reset();  // the old bot would detach the transport from the new one
    f.bot = std::make_unique<Bot>(Ports{f.fakes.transport, f.fakes.clock, dialogs, f.fakes.shell, f.fakes.window,
                                        f.fakes.http, f.fakes.media, f.fakes.codePages},
                                  f.dir.Path());
    f.LogIn();
    f.PlainLines();
    f.bot->Panes().Clear(PaneId::Chat);
  }
  const std::string& Caption() { return f.control(ctl::kMainForm).Caption(); }

  DialogsThatLetBytesIn dialogs;  // outlives the bot
  test::BotFixture f;
};

TEST_F(ModalHandlerTest, BytesArrivingDuringTheDialogWaitAndKeepTheirOrder) {
  f.AddOperator("op");
  f.bot->SetCommandRunner([this](std::string_view, std::string_view words) {
    dialogs.MessageBox(DialogKind::Information, DialogButtons::Ok, std::string(words), Question::None);
  });
  std::vector<std::string> chatWhileOpen;
  std::uint32_t namesWhileOpen = 99;
  dialogs.whileOpen = [&] {
    f.Receive("<hub> third|$HubName Late|<hub> fou");
    f.Receive("rth|");
    chatWhileOpen = f.ChatLines();
    namesWhileOpen = f.bot->Counters().Received(ReceivedCounter::HubName);
  };

  f.Receive("$To: Guard From: op $<op> +wait|<hub> second|");

  const std::string privateLine = "*** Private message from op: <op> +wait";
  EXPECT_EQ(chatWhileOpen, std::vector<std::string>{privateLine});
  EXPECT_EQ(namesWhileOpen, 0u);
  EXPECT_EQ(f.ChatLines(), (std::vector<std::string>{privateLine, "<hub> second", "<hub> third", "<hub> fourth"}));
  EXPECT_EQ(Caption(), "Varnek : Late");
  EXPECT_EQ(f.bot->Connection().PendingBytes(), 0u);
}

// The redirect question: what arrives behind the redirect waits, and goes
// with the connection when the operator declines.
TEST_F(ModalHandlerTest, RedirectQuestionHoldsBackLaterCommands) {
  std::vector<std::string> chatWhileOpen;
  dialogs.whileOpen = [&] {
    f.Receive("<hub> behind|$HubName Late|<hub> part");
    chatWhileOpen = f.ChatLines();
  };
  dialogs.answers = {DialogAnswer::No};

  f.Receive("$ForceMove other.hub:411|");

  EXPECT_TRUE(chatWhileOpen.empty());
  EXPECT_EQ(f.ChatLines(), std::vector<std::string>{"*** Disconnected"});
  EXPECT_EQ(Caption(), "Varnek");
  EXPECT_EQ(f.bot->Connection().PendingBytes(), 0u);

  // The next connection starts clean: the cut-off "<hub> part" is gone.
  f.Connect();
  f.Receive("ial|<hub> fresh|");
  const auto& chat = f.ChatLines();
  ASSERT_GE(chat.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(chat.end() - 2, chat.end()), (std::vector<std::string>{"ial", "<hub> fresh"}));
}

}  // namespace
}  // namespace varnek
