#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/hub/Dispatcher.h"
#include "core/hub/HubEvents.h"
#include "core/model/ProtocolCounters.h"

namespace varnek {
namespace {

// Writes one line per call: the event's name and its arguments in brackets,
// separated by "|", so an empty argument still shows.
struct RecordingEvents : HubEvents {
  void Add(std::string_view name, std::initializer_list<std::string_view> arguments = {}) {
    std::string call(name);
    call += '(';
    bool first = true;
    for (std::string_view argument : arguments) {
      if (!first) {
        call += '|';
      }
      call.append(argument);
      first = false;
    }
    call += ')';
    calls.push_back(call);
  }

  void OnLock(std::string_view p) override { Add("Lock", {p}); }
  void OnHubName(std::string_view p) override { Add("HubName", {p}); }
  void OnValidateDenide(std::string_view p) override { Add("ValidateDenide", {p}); }
  void OnGetPass() override { Add("GetPass"); }
  void OnBadPass() override { Add("BadPass"); }
  void OnSupports(std::string_view p) override { Add("Supports", {p}); }
  void OnHubIsFull() override { Add("HubIsFull"); }
  void OnUserIp(std::string_view nick, std::string_view ip) override { Add("UserIp", {nick, ip}); }
  void OnMyInfo(std::string_view p) override { Add("MyInfo", {p}); }
  void OnLogedIn() override { Add("LogedIn"); }
  void OnHello(std::string_view nick) override { Add("Hello", {nick}); }
  void OnOpListItem(std::string_view nick) override { Add("OpListItem", {nick}); }
  void OnConnectToMe(std::string_view p) override { Add("ConnectToMe", {p}); }
  void OnSearch(std::string_view p) override { Add("Search", {p}); }
  void OnHubTopic(std::string_view p) override { Add("HubTopic", {p}); }
  void OnForceMove(std::string_view address) override { Add("ForceMove", {address}); }
  void OnQuit(std::string_view nick) override { Add("Quit", {nick}); }
  void OnPrivateMessage(std::string_view recipient, std::string_view sender, std::string_view text) override {
    Add("PrivateMessage", {recipient, sender, text});
  }
  void OnChatLine(std::string_view line) override { Add("ChatLine", {line}); }

  std::vector<std::string> calls;
};

struct Case {
  std::string command;
  std::vector<std::string> calls;
  std::optional<ReceivedCounter> counter;  // none: nothing may be counted
};

std::uint32_t TotalReceived(const ProtocolCounters& counters) {
  std::uint32_t total = 0;
  for (int i = 0; i < kReceivedCounterCount; ++i) {
    total += counters.Received(static_cast<ReceivedCounter>(i));
  }
  return total;
}

void ExpectDispatch(const Case& c) {
  RecordingEvents events;
  ProtocolCounters counters;
  DispatchCommand(c.command, events, counters);
  EXPECT_EQ(events.calls, c.calls) << c.command;
  if (c.counter) {
    EXPECT_EQ(counters.Received(*c.counter), 1u) << c.command;
    EXPECT_EQ(TotalReceived(counters), 1u) << c.command;
  } else {
    EXPECT_EQ(TotalReceived(counters), 0u) << c.command;
  }
  EXPECT_EQ(counters.Detections(), 0u) << c.command;
}

using R = ReceivedCounter;

TEST(DispatcherTest, EveryRowCountsAndCallsItsEvent) {
  const Case cases[] = {
      {"$Lock EXTENDEDPROTOCOLxyz Pk=Hub", {"Lock(EXTENDEDPROTOCOLxyz Pk=Hub)"}, R::Lock},
      // Only the first space separates name and parameters.
      {"$HubName My  Hub - topic", {"HubName(My  Hub - topic)"}, R::HubName},
      {"$ValidateDenide Guard", {"ValidateDenide(Guard)"}, R::ValidateDenide},
      {"$GetPass", {"GetPass()"}, R::GetPass},
      {"$BadPass", {"BadPass()"}, R::BadPass},
      {"$Supports NoHello UserIP2 ", {"Supports(NoHello UserIP2 )"}, R::Supports},
      {"$UserCommand 1 3 Kick$$", {}, R::UserCommand},
      {"$HubIsFull", {"HubIsFull()"}, R::HubIsFull},
      {"$LogedIn Guard", {"LogedIn()"}, R::LogedIn},
      {"$Hello bob", {"Hello(bob)"}, R::Hello},
      // Without a space the parameters are the whole command.
      {"$Hello", {"Hello($Hello)"}, R::Hello},
      {"$NickList a$$b$$", {}, R::NickList},
      {"$BotList bot$$", {}, R::BotList},
      {"$MyINFO $ALL bob d<++ V:1,M:A,H:1/0/0,S:2>$ $DSL\x01$$5$",
       {"MyInfo($ALL bob d<++ V:1,M:A,H:1/0/0,S:2>$ $DSL\x01$$5$)"},
       R::MyInfo},
      {"$Quit bob", {"Quit(bob)"}, R::Quit},
      {"$ForceMove other.hub:4111", {"ForceMove(other.hub:4111)"}, R::ForceMove},
      {"$ConnectToMe Guard 10.0.0.1:412", {"ConnectToMe(Guard 10.0.0.1:412)"}, R::ConnectToMe},
      {"$Search Hub:bob F?T?0?1?a$b", {"Search(Hub:bob F?T?0?1?a$b)"}, R::Search},
      {"$HubTopic  the topic", {"HubTopic( the topic)"}, R::HubTopic},
  };
  for (const Case& c : cases) {
    ExpectDispatch(c);
  }
}

TEST(DispatcherTest, UnknownNamesChangeNothing) {
  const Case cases[] = {
      {"$lock EXTENDED", {}, std::nullopt},  // names are case-sensitive
      {"$LOCK EXTENDED", {}, std::nullopt},
      {"$LockX EXTENDED", {}, std::nullopt},  // the whole name must match
      {"$Lock\tEXTENDED", {}, std::nullopt},  // only a space ends the name
      {"$GetINFO bob Guard", {}, std::nullopt},
      {"$", {}, std::nullopt},
      {"$To:x", {}, std::nullopt},
  };
  for (const Case& c : cases) {
    ExpectDispatch(c);
  }
}

TEST(DispatcherTest, OperatorListGivesOneCallPerNick) {
  const Case cases[] = {
      {"$OpList alice$$bob$$", {"OpListItem(alice)", "OpListItem(bob)"}, R::OpList},
      {"$OpList ", {"OpListItem()"}, R::OpList},
      // Hubs announce a new operator alone and sometimes without the "$$".
      {"$OpList carol", {"OpListItem(carol)"}, R::OpList},
      {"$OpList alice$$bob", {"OpListItem(alice)", "OpListItem(bob)"}, R::OpList},
  };
  for (const Case& c : cases) {
    ExpectDispatch(c);
  }
}

// The list is rotated on purpose: the first pair is delivered last.
TEST(DispatcherTest, UserIpListIsDeliveredRotated) {
  const Case cases[] = {
      {"$UserIP alice 10.0.0.1$$bob 10.0.0.2$$", {"UserIp(bob|10.0.0.2)", "UserIp(alice|10.0.0.1)"}, R::UserIp},
      {"$UserIP alice 10.0.0.1$$bob 10.0.0.2", {"UserIp(bob|10.0.0.2)", "UserIp(alice|10.0.0.1)"}, R::UserIp},
      {"$UserIP a 1$$b 2$$c 3$$", {"UserIp(b|2)", "UserIp(c|3)", "UserIp(a|1)"}, R::UserIp},
      {"$UserIP alice 10.0.0.1", {"UserIp(alice|10.0.0.1)"}, R::UserIp},
      {"$UserIP alice 10.0.0.1$$", {"UserIp(alice|10.0.0.1)"}, R::UserIp},
      // Entries without a space, with an empty nick or address, and empty
      // entries are skipped; the others still arrive.
      {"$UserIP a 1$$nospace$$ 2$$c $$$$d 4", {"UserIp(d|4)", "UserIp(a|1)"}, R::UserIp},
      {"$UserIP nospace", {}, R::UserIp},
      {"$UserIP alice ", {"UserIp(alice|)"}, R::UserIp},
      {"$UserIP  10.0.0.1", {}, R::UserIp},
      {"$UserIP ", {}, R::UserIp},
  };
  for (const Case& c : cases) {
    ExpectDispatch(c);
  }
}

TEST(DispatcherTest, PrivateMessageIsSplitIntoRecipientSenderAndText) {
  const Case cases[] = {
      {"$To: Guard From: bob $<bob> two words", {"PrivateMessage(Guard|bob|<bob> two words)"}, R::To},
      // The text runs to the end, with any "$" and " $" in it.
      {"$To: Guard From: bob $<bob> a $b From: c", {"PrivateMessage(Guard|bob|<bob> a $b From: c)"}, R::To},
      {"$To: Guard From: bob $", {"PrivateMessage(Guard|bob|)"}, R::To},
      // Not a private message: counted, nothing delivered.
      {"$To: Guard bob $<bob> hi", {}, R::To},
      {"$To: Guard From: bob", {}, R::To},
      {"$To:", {}, R::To},
  };
  for (const Case& c : cases) {
    ExpectDispatch(c);
  }
}

}  // namespace
}  // namespace varnek
