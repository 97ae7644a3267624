#pragma once

#include <array>
#include <cstdint>
#include <string_view>

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
    {SentCounter::OpForceMove, "$OpForceMove ", "OpForceMoveLabel", "OpForceMove: "},
    {SentCounter::To, "$To: ", "OutToLabel", "To: "},
    {SentCounter::Supports, "$Supports ", "OutSupportsLabel", "Supports: "},
    {SentCounter::Key, "$Key ", "KeyLabel", "Key: "},
    {SentCounter::ValidateNick, "$ValidateNick ", "ValidateNickLabel", "ValidateNick: "},
    {SentCounter::Version, "$Version ", "VersionLabel", "Version: "},
    {SentCounter::MyInfo, "$MyINFO ", "OutMyInfoLabel", "MyINFO: "},
    {SentCounter::GetNickList, "$GetNickList", "GetNickListLabel", "GetNickList: "},
    {SentCounter::MyPass, "$MyPass ", "MyPassLabel", "MyPass: "},
    {SentCounter::Kick, "$Kick ", "KickLabel", "Kick: "},
    {SentCounter::GetInfo, "$GetINFO ", "GetInfoLabel", "GetINFO: "},
    {SentCounter::UserIp, "$UserIP ", "OutUserIpLabel", "UserIP: "},
    {SentCounter::MainChat, "<", "OutMcTextLabel", nullptr},
};

inline constexpr CounterRow<ReceivedCounter> kReceivedCounterRows[] = {
    {ReceivedCounter::Lock, "$Lock", "InLockLabel", "Lock: "},
    {ReceivedCounter::HubName, "$HubName", "HubNameLabel", "HubName: "},
    {ReceivedCounter::ValidateDenide, "$ValidateDenide", "ValidateDenideLabel", "ValidateDenide: "},
    {ReceivedCounter::GetPass, "$GetPass", "GetPassLabel", "GetPass: "},
    {ReceivedCounter::BadPass, "$BadPass", "BadPassLabel", "BadPass: "},
    {ReceivedCounter::Supports, "$Supports", "InSupportsLabel", "Supports: "},
    {ReceivedCounter::UserCommand, "$UserCommand", "UserCommandLabel", "UserCommand: "},
    {ReceivedCounter::HubIsFull, "$HubIsFull", "HubIsFullLabel", "HubIsFull: "},
    {ReceivedCounter::LogedIn, "$LogedIn", "LogedInLabel", "LogedIn: "},
    {ReceivedCounter::Hello, "$Hello", "HelloLabel", "Hello: "},
    {ReceivedCounter::NickList, "$NickList", "NickListLabel", "NickList: "},
    {ReceivedCounter::OpList, "$OpList", "OpListLabel", "OpList: "},
    {ReceivedCounter::BotList, "$BotList", "BotListLabel", "BotList: "},
    {ReceivedCounter::MyInfo, "$MyINFO", "InMyInfoLabel", "MyINFO: "},
    {ReceivedCounter::UserIp, "$UserIP", "InUserIpLabel", "UserIP: "},
    {ReceivedCounter::Quit, "$Quit", "QuitLabel", "Quit: "},
    {ReceivedCounter::ForceMove, "$ForceMove", "ForceMoveLabel", "ForceMove: "},
    {ReceivedCounter::To, "$To:", "InToLabel", "To: "},
    {ReceivedCounter::ConnectToMe, "$ConnectToMe", "ConnectToMeLabel", "ConnectToMe: "},
    {ReceivedCounter::Search, "$Search", "SearchLabel", "Search: "},
    {ReceivedCounter::HubTopic, "$HubTopic", "HubTopicLabel", "HubTopic: "},
    {ReceivedCounter::MainChat, "", "InMcTextLabel", nullptr},
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
static_assert(RowsInCounterOrder(kReceivedCounterRows), "kReceivedCounterRows must follow the order of ReceivedCounter");
static_assert(kSentCounterRows[kSentCounterCount - 1].counter == SentCounter::MainChat,
              "every SentCounter needs its row");
static_assert(kReceivedCounterRows[kReceivedCounterCount - 1].counter == ReceivedCounter::MainChat,
              "every ReceivedCounter needs its row");

constexpr const CounterRow<ReceivedCounter>& RowOf(ReceivedCounter c) {
  return kReceivedCounterRows[static_cast<std::size_t>(c)];
}
constexpr const CounterRow<SentCounter>& RowOf(SentCounter c) { return kSentCounterRows[static_cast<std::size_t>(c)]; }

// The statistics of the statistics page: unsigned 32-bit counters that wrap,
// kept for the whole run; a disconnect does not reset them.
class ProtocolCounters {
 public:
  std::uint32_t Sent(SentCounter c) const { return sent_[static_cast<std::size_t>(c)]; }
  std::uint32_t Received(ReceivedCounter c) const { return received_[static_cast<std::size_t>(c)]; }
  std::uint32_t Detections() const { return detections_; }

  void Count(SentCounter c) { ++sent_[static_cast<std::size_t>(c)]; }
  void Count(ReceivedCounter c) { ++received_[static_cast<std::size_t>(c)]; }
  void CountDetection() { ++detections_; }

  // Counts a text about to be written by the first row of kSentCounterRows
  // that matches how it begins; a text that matches none is counted nowhere.
  void CountSent(std::string_view text);

  void Clear();

 private:
  std::array<std::uint32_t, kSentCounterCount> sent_{};
  std::array<std::uint32_t, kReceivedCounterCount> received_{};
  std::uint32_t detections_ = 0;
};

}  // namespace varnek
