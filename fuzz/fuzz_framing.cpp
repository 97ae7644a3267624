// The whole bot on arbitrary hub bytes: framing, dispatch and every handler
// (login, user list, detections and kicks, operators, private messages with
// bot commands, redirects answered from a script).
//
// Input: five header bytes, then the hub's bytes.
//   0     how the bytes are cut into reads (0: one read)
//   1     the Yes/No answers of the dialogs, one bit per question in turn
//   2, 3  the fourteen kick switches; bit 14 raw templates, bit 15 "only below"
//   4     bit 0 dialogs deliver the next read while open; bit 1 protected
//         users honoured; bit 2 kick messages to chat; bits 3-4 debug mode;
//         bit 5 operators not protected; bit 6 operators may not command;
//         bit 7 the main timer ticks between reads

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzWorld.h"
#include "core/model/KickTemplates.h"

namespace {

using varnek::fuzz::BotWorld;
using varnek::fuzz::Fail;

constexpr std::size_t kHeaderSize = 5;

constexpr std::array<const char*, 14> kKickSwitches = {
    "KickFakeCheckBox",   "KickProxyCheckBox",       "KickCloneCheckBox",   "KickLimitCheckBox", "KickNickCheckBox",
    "KickIpCheckBox",     "KickDescriptionCheckBox", "KickEmailCheckBox",   "KickTagCheckBox",   "KickShareCheckBox",
    "KickSameIpCheckBox", "KickUserHubsCheckBox",    "KickRegHubsCheckBox", "KickOpHubsCheckBox"};

constexpr std::array<const char*, 4> kDebugModes = {"NiceLogCheckBox", "FullLogCheckBox", "NoLogCheckBox",
                                                    "NiceLogCheckBox"};

// Cuts the traffic into reads of pseudo-random sizes chosen by one seed byte.
class Reads {
 public:
  Reads(std::string_view bytes, std::uint8_t seed) : rest_(bytes), state_(seed * 2654435761u | 1u), seed_(seed) {}

  bool Done() const { return rest_.empty(); }
  std::string_view Next() {
    std::size_t size = rest_.size();
    if (seed_ != 0) {
      size = 1 + Random() % (1u + seed_ * 7u);
    }
    const std::string_view read = rest_.substr(0, size);
    rest_.remove_prefix(read.size());
    return read;
  }
  std::uint32_t Random() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }

 private:
  std::string_view rest_;
  std::uint32_t state_;
  std::uint8_t seed_;
};

void ApplySwitches(BotWorld& world, std::uint16_t kicks, std::uint8_t options) {
  varnek::ControlModel& controls = world.Controls();
  if ((kicks & 0x4000u) != 0) {
    varnek::LoadDefaultRawCommands(controls);
  }
  for (std::size_t i = 0; i < kKickSwitches.size(); ++i) {
    controls.Get(kKickSwitches[i]).SetChecked(((kicks >> i) & 1u) != 0);
  }
  controls.Get("KickLimitBelowCheckBox").SetChecked((kicks & 0x8000u) != 0);
  controls.Get("ProtectedUsersCheckBox").SetChecked((options & 0x02u) != 0);
  controls.Get("KickToStatusCheckBox").SetChecked((options & 0x04u) != 0);
  controls.Get(kDebugModes[(options >> 3) & 3u]).SetChecked(true);
  controls.Get("ProtectedOpsCheckBox").SetChecked((options & 0x20u) == 0);
  controls.Get("CmdOpsCheckBox").SetChecked((options & 0x40u) == 0);
}

// Every write goes through the one send path, which lets out only whole
// commands.
void CheckWrites(BotWorld& world) {
  for (const std::string& write : world.ports().transport.writes) {
    if (write.empty() || (write.front() != '$' && write.front() != '<') || write.back() != '|') {
      Fail("a write that is not a whole command: " + write);
    }
  }
}

// The user list's hash indexes must answer as a scan in display order would:
// the first row whose nick, exact share (before its blank) or IP is the key.
void CheckUserIndexes(varnek::UserList& users) {
  using varnek::UserColumn;
  auto key = [&users](int row, UserColumn column) -> std::string_view {
    std::string_view cell = users.Row(row).Cell(column);
    return column == UserColumn::ExactShareSize ? cell.substr(0, cell.find(' ')) : cell;
  };
  auto firstByScan = [&](UserColumn column, std::string_view wanted) {
    for (int row = 0; row < users.Count(); ++row) {
      if (key(row, column) == wanted) {
        return row;
      }
    }
    return -1;
  };
  for (int row = 0; row < users.Count(); ++row) {
    if (users.FindUser(key(row, UserColumn::Username)) !=
            firstByScan(UserColumn::Username, key(row, UserColumn::Username)) ||
        users.FindUserByShare(key(row, UserColumn::ExactShareSize)) !=
            firstByScan(UserColumn::ExactShareSize, key(row, UserColumn::ExactShareSize)) ||
        users.FindUserByIp(key(row, UserColumn::Ip)) != firstByScan(UserColumn::Ip, key(row, UserColumn::Ip))) {
      Fail("a user list index disagrees with the rows: " + users.Row(row).Nick());
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kHeaderSize) {
    return 0;
  }
  // A new world for every input: each run starts from the same state, so a
  // finding reproduces from its input alone.
  BotWorld world;
  const std::uint8_t options = data[4];
  world.ports().dialogs.Script(data[1]);
  ApplySwitches(world, static_cast<std::uint16_t>(data[2] | (data[3] << 8)), options);

  const std::string_view traffic(reinterpret_cast<const char*>(data) + kHeaderSize, size - kHeaderSize);
  Reads reads(traffic, data[0]);
  auto& transport = world.ports().transport;
  auto& bot = world.bot();
  if ((options & 0x01u) != 0) {
    world.ports().dialogs.whileOpen = [&] {
      if (!reads.Done()) {
        transport.Receive(reads.Next());
      }
    };
  }
  while (!reads.Done()) {
    transport.Receive(reads.Next());
    // A redirect or a timer reconnect opens the socket again; let it connect.
    if (transport.open && !bot.Connection().Connected()) {
      transport.Connect();
    }
    if ((options & 0x80u) != 0) {
      world.ports().clock.now += reads.Random() % 70000u;
      bot.TimerTick();
    }
  }
  if (bot.Connection().PendingBytes() > traffic.size()) {
    Fail("more bytes pending than were received");
  }
  CheckWrites(world);
  CheckUserIndexes(bot.Users());
  world.ports().dialogs.whileOpen = nullptr;
  return 0;
}
