#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace varnek {

// Commands sent, counted by how the written text begins.
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
  MainChat,
};
constexpr int kSentCounterCount = 13;

// Commands received, counted by name.
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
  MainChat,
};
constexpr int kReceivedCounterCount = 22;

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

  // Counts a text about to be written by the first row of the table that
  // matches how it begins; a text that matches none is counted nowhere.
  void CountSent(std::string_view text);

  void Clear();

 private:
  std::array<std::uint32_t, kSentCounterCount> sent_{};
  std::array<std::uint32_t, kReceivedCounterCount> received_{};
  std::uint32_t detections_ = 0;
};

}  // namespace varnek
