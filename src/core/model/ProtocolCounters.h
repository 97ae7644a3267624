#pragma once
#include <array>
#include <cstdint>
#include <string_view>

#include "core/model/ControlNames.h"

namespace varnek {

// Commands sent, counted by how the written text begins. The values index
// kSentCounterRows below.
enum class SentCounter {
  OpForceMove,
  To,
  Supports,
  Key,
  ValidateNick,
  Version,
  MyInfo,
  GetNickList,
  MyPass,
  Kick,
  GetInfo,
  UserIp,
  MainChat,  // stays last
};

// Commands received, counted by name. The values index kReceivedCounterRows
// below.
enum class ReceivedCounter {
  Lock,
  HubName,
  ValidateDenide,
  GetPass,
  BadPass,
  Supports,
  UserCommand,
  HubIsFull,
  LogedIn,
  Hello,
  NickList,
  OpList,
  BotList,
  MyInfo,
  UserIp,
  Quit,
  ForceMove,
  To,
  ConnectToMe,
  Search,
  HubTopic,
  MainChat,  // stays last
};

// One counted command: everything the program knows of it in one place. The
// statistics page shows the rows in this order, each as its label control
// with the caption followed by the count.
template <typename Counter>
struct CounterRow {
  Counter counter;
  // Received: the command's name ("$Lock"); sent: how the written text
  // begins ("$Lock "). Empty for received main chat, which has no name.
  std::string_view command;
  const char* label;    // the label control on the statistics page
  const char* caption;  // before the count; nullptr: the main chat message
};

inline constexpr CounterRow<SentCounter> kSentCounterRows[] = {
    {SentCounter::OpForceMove, "$OpForceMove ", ctl::kOpForceMoveLabel, "OpForceMove: "},
    {SentCounter::To, "$To: ", ctl::kOutToLabel, "To: "},
    {SentCounter::Supports, "$Supports ", ctl::kOutSupportsLabel, "Supports: "},
    {SentCounter::Key, "$Key ", ctl::kKeyLabel, "Key: "},
    {SentCounter::ValidateNick, "$ValidateNick ", ctl::kValidateNickLabel, "ValidateNick: "},
    {SentCounter::Version, "$Version ", ctl::kVersionLabel, "Version: "},
    {SentCounter::MyInfo, "$MyINFO ", ctl::kOutMyInfoLabel, "MyINFO: "},
    {SentCounter::GetNickList, "$GetNickList", ctl::kGetNickListLabel, "GetNickList: "},
    {SentCounter::MyPass, "$MyPass ", ctl::kMyPassLabel, "MyPass: "},
    {SentCounter::Kick, "$Kick ", ctl::kKickLabel, "Kick: "},
    {SentCounter::GetInfo, "$GetINFO ", ctl::kGetInfoLabel, "GetINFO: "},
    {SentCounter::UserIp, "$UserIP ", ctl::kOutUserIpLabel, "UserIP: "},
    {SentCounter::MainChat, "<", ctl::kOutMcTextLabel, nullptr},
};

inline constexpr CounterRow<ReceivedCounter> kReceivedCounterRows[] = {
    {ReceivedCounter::Lock, "$Lock", ctl::kInLockLabel, "Lock: "},
    {ReceivedCounter::HubName, "$HubName", ctl::kHubNameLabel, "HubName: "},
    {ReceivedCounter::ValidateDenide, "$ValidateDenide", ctl::kValidateDenideLabel, "ValidateDenide: "},
    {ReceivedCounter::GetPass, "$GetPass", ctl::kGetPassLabel, "GetPass: "},
    {ReceivedCounter::BadPass, "$BadPass", ctl::kBadPassLabel, "BadPass: "},
    {ReceivedCounter::Supports, "$Supports", ctl::kInSupportsLabel, "Supports: "},
    {ReceivedCounter::UserCommand, "$UserCommand", ctl::kUserCommandLabel, "UserCommand: "},
    {ReceivedCounter::HubIsFull, "$HubIsFull", ctl::kHubIsFullLabel, "HubIsFull: "},
    {ReceivedCounter::LogedIn, "$LogedIn", ctl::kLogedInLabel, "LogedIn: "},
    {ReceivedCounter::Hello, "$Hello", ctl::kHelloLabel, "Hello: "},
    {ReceivedCounter::NickList, "$NickList", ctl::kNickListLabel, "NickList: "},
    {ReceivedCounter::OpList, "$OpList", ctl::kOpListLabel, "OpList: "},
    {ReceivedCounter::BotList, "$BotList", ctl::kBotListLabel, "BotList: "},
    {ReceivedCounter::MyInfo, "$MyINFO", ctl::kInMyInfoLabel, "MyINFO: "},
    {ReceivedCounter::UserIp, "$UserIP", ctl::kInUserIpLabel, "UserIP: "},
    {ReceivedCounter::Quit, "$Quit", ctl::kQuitLabel, "Quit: "},
    {ReceivedCounter::ForceMove, "$ForceMove", ctl::kForceMoveLabel, "ForceMove: "},
    {ReceivedCounter::To, "$To:", ctl::kInToLabel, "To: "},
    {ReceivedCounter::ConnectToMe, "$ConnectToMe", ctl::kConnectToMeLabel, "ConnectToMe: "},
    {ReceivedCounter::Search, "$Search", ctl::kSearchLabel, "Search: "},
    {ReceivedCounter::HubTopic, "$HubTopic", ctl::kHubTopicLabel, "HubTopic: "},
    {ReceivedCounter::MainChat, "", ctl::kInMcTextLabel, nullptr},
};

constexpr int kSentCounterCount = static_cast<int>(std::size(kSentCounterRows));
constexpr int kReceivedCounterCount = static_cast<int>(std::size(kReceivedCounterRows));

// A counter's row is found by its value, so every row must sit at its value.
template <typename Counter, std::size_t N>
constexpr bool RowsInCounterOrder(const CounterRow<Counter> (&rows)[N]) {
  for (std::size_t i = 0; i < N; ++i) {
    if (static_cast<std::size_t>(rows[i].counter) != i) {
      return false;
    }
  }
  return true;
}
static_assert(RowsInCounterOrder(kSentCounterRows), "kSentCounterRows must follow the order of SentCounter");
static_assert(RowsInCounterOrder(kReceivedCounterRows),
              "kReceivedCounterRows must follow the order of ReceivedCounter");
static_assert(kSentCounterRows[kSentCounterCount - 1].counter == SentCounter::MainChat,
              "every SentCounter needs its row");
static_assert(kReceivedCounterRows[kReceivedCounterCount - 1].counter == ReceivedCounter::MainChat,
              "every ReceivedCounter needs its row");

constexpr const CounterRow<ReceivedCounter>& RowOf(ReceivedCounter c) {
  return kReceivedCounterRows[static_cast<std::size_t>(c)];
}
constexpr const CounterRow<SentCounter>& RowOf(SentCounter c) {
  return kSentCounterRows[static_cast<std::size_t>(c)];
}

// The statistics of the statistics page: unsigned 32-bit counters that wrap,
// kept for the whole run; a disconnect does not reset them.
class ProtocolCounters {
 public:
  std::uint32_t Sent(SentCounter c) const { return sent_[static_cast<std::size_t>(c)]; }
  std::uint32_t Received(ReceivedCounter c) const { return received_[static_cast<std::size_t>(c)]; }
  std::uint32_t Detections() const { return detections_; }
  // Kicks after which the user was still on the hub when the time was up.
  std::uint32_t KicksNotCarriedOut() const { return kicksNotCarriedOut_; }

  void Count(SentCounter c) { ++sent_[static_cast<std::size_t>(c)]; }
  void Count(ReceivedCounter c) { ++received_[static_cast<std::size_t>(c)]; }
  void CountDetection() { ++detections_; }
  void CountKickNotCarriedOut() { ++kicksNotCarriedOut_; }

  // Counts a text about to be written by the first row of kSentCounterRows
  // that matches how it begins; a text that matches none is counted nowhere.
  void CountSent(std::string_view text);

  void Clear();

 private:
  std::array<std::uint32_t, kSentCounterCount> sent_{};
  std::array<std::uint32_t, kReceivedCounterCount> received_{};
  std::uint32_t detections_ = 0;
  std::uint32_t kicksNotCarriedOut_ = 0;
};

}  // namespace varnek
