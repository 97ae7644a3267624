// A recorded login flood, as a busy hub relays it to an operator right after
// the login: every user's $MyINFO followed by his $UserIP, fed through the
// whole bot over fake ports. Figures are per user and per command, and the
// scaling benchmark compares a large hub with a small one in the same run.

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/Bot.h"
#include "core/model/KickTemplates.h"
#include "fakes/FakePorts.h"
#include "fakes/TempDir.h"

namespace varnek {
namespace {

constexpr int kSmallHub = 5'000;
constexpr int kLargeHub = 50'000;
constexpr int kPatternsPerList = 100;

template <std::size_t N>
const char* Pick(std::mt19937_64& random, const std::array<const char*, N>& choices) {
  return choices[random() % N];
}

std::string RandomIp(std::mt19937_64& random) {
  return std::to_string(1 + random() % 223) + "." + std::to_string(random() % 256) + "." +
         std::to_string(random() % 256) + "." + std::to_string(1 + random() % 254);
}

std::string Tag(std::mt19937_64& random) {
  static constexpr std::array<const char*, 8> kClients = {"++ V:0.868",         "++ V:0.785",    "StrgDC++ V:2.42",
                                                          "ApexDC++ V:1.6.5",   "ncdc V:1.23.1", "EiskaltDC++ V:2.4.2",
                                                          "FlylinkDC++ V:r600", "DC V:0.699"};
  static constexpr std::array<const char*, 3> kModes = {"A", "P", "A"};
  std::string tag = std::string("<") + Pick(random, kClients) +
                    ",M:" + (random() % 100 == 0 ? "5" : Pick(random, kModes)) + ",H:" + std::to_string(random() % 12) +
                    "/" + std::to_string(random() % 4) + "/" + std::to_string(random() % 3) +
                    ",S:" + std::to_string(1 + random() % 10);
  if (random() % 10 == 0) {
    tag += ",L:" + std::to_string(10 + random() % 500);
  }
  return tag + ">";
}

// N users in one byte string: distinct nicks, mostly distinct shares and IPs,
// with a few clones (an earlier user's share), shared addresses and users
// sharing nothing.
std::string BuildFlood(int users) {
  static constexpr std::array<const char*, 10> kDescriptions = {"",
                                                                "",
                                                                "movies and music",
                                                                "[ISP] fast line",
                                                                "no porn please",
                                                                "linux isos",
                                                                "ask for slots",
                                                                "Greetings from Berlin",
                                                                "audiobooks",
                                                                "old games collection"};
  static constexpr std::array<const char*, 6> kConnections = {"DSL", "Cable", "LAN(T1)", "0.005", "100", "20"};
  static constexpr std::array<const char*, 4> kStatus = {"\x01", "\x01", "\x05", "\x09"};
  std::mt19937_64 random(20261210);
  std::vector<std::string> shares;
  std::vector<std::string> ips;
  std::string flood;
  flood.reserve(static_cast<std::size_t>(users) * 220);
  for (int i = 0; i < users; ++i) {
    const std::string nick =
        (i % 7 == 0 ? "[ISP]" : "") + std::string("user") + std::to_string(i) + "_" + std::to_string(random() % 10'000);
    std::string share;
    if (random() % 40 == 0) {
      share = "0";
    } else if (!shares.empty() && random() % 50 == 0) {
      share = shares[random() % shares.size()];
    } else {
      share = std::to_string(random() % (5ULL << 40));
      shares.push_back(share);
    }
    std::string ip = !ips.empty() && random() % 100 == 0 ? ips[random() % ips.size()] : RandomIp(random);
    ips.push_back(ip);
    const std::string email = random() % 3 == 0 ? nick + "@mail.example" : "";
    flood += "$MyINFO $ALL " + nick + " " + Pick(random, kDescriptions) + Tag(random) + "$ $" +
             Pick(random, kConnections) + Pick(random, kStatus) + "$" + email + "$" + share + "$|";
    flood += "$UserIP " + nick + " " + ip + "|";
  }
  return flood;
}

// Six lists of a hundred patterns each, of the kinds operators write; they
// seldom match a user of the flood, so every pattern is tried.
void FillPatternLists(ControlModel& controls) {
  for (int i = 0; i < kPatternsPerList; ++i) {
    const std::string n = std::to_string(i);
    controls.List("KickNickListView").Append(i % 2 == 0 ? "*spammer" + n + "*" : "[BOT" + n + "]*");
    controls.List("KickIpListView").Append(i % 2 == 0 ? "203.0.113." + n : "198.51." + n + ".*");
    controls.List("KickShareListView").Append(i % 2 == 0 ? "1" + n + "000000000" : "*" + n + "999999999");
    controls.List("KickDescriptionListView").Append("*www.advert" + n + ".example*");
    controls.List("KickEmailListView").Append("*@spam" + n + ".example");
    controls.List("KickTagListView").Append("<BadClient" + n + " V:*");
  }
}

void SwitchEveryDetectionOn(ControlModel& controls) {
  controls.Get("DetectionsCheckBox").SetChecked(true);
  for (const KickKindInfo& kind : KickKinds()) {
    if (!kind.sharedSwitches) {
      controls.Get(KickSwitchName(kind)).SetChecked(true);
    }
    // No template: every detection reports, none kicks, every user is added.
    controls.Get(CommandEditName(kind)).SetText("");
  }
  for (const char* name : {"KickUserHubsCheckBox", "KickRegHubsCheckBox", "KickOpHubsCheckBox"}) {
    controls.Get(name).SetChecked(true);
  }
  FillPatternLists(controls);
}

// A whole bot over fake ports, logged in and quiet: no debug output, no
// time stamps.
class FloodBot {
 public:
  FloodBot(const test::TempDir& dir, bool detections) : bot_(fakes_.ports(), dir.Path()) {
    ControlModel& controls = bot_.Controls();
    controls.Get("NoLogCheckBox").SetChecked(true);
    controls.Get("TimestampsCheckBox").SetChecked(false);
    if (detections) {
      SwitchEveryDetectionOn(controls);
    }
    controls.Get("UsernameEdit").SetText("Guard");
    controls.Get("HubIpEdit").SetText("127.0.0.1");
    controls.Get("HubPortEdit").SetText("411");
    bot_.Run([this] { bot_.Life().ConnectAction(); });
    fakes_.transport.Connect();
    Receive("$Lock EXTENDEDPROTOCOLABCABCABCABCABCABC Pk=TestHub|$Hello Guard|");
  }

  void Receive(std::string_view bytes) { fakes_.transport.Receive(bytes); }
  int Users() { return bot_.Users().Count(); }
  std::uint32_t Detections() { return bot_.Counters().Detections(); }

 private:
  test::FakePorts fakes_;
  Bot bot_;
};

const std::string& Flood(int users) {
  static const std::string small = BuildFlood(kSmallHub);
  static const std::string large = BuildFlood(kLargeHub);
  return users == kSmallHub ? small : large;
}

int CommandCount(std::string_view bytes) {
  int count = 0;
  for (char c : bytes) {
    count += c == '|' ? 1 : 0;
  }
  return count;
}

// One flood as one read into a fresh bot; returns the seconds it took. The
// bot is built and destroyed outside the measured time.
double FeedOnce(const test::TempDir& dir, const std::string& flood, bool detections, int expectedUsers,
                benchmark::State& state) {
  auto bot = std::make_unique<FloodBot>(dir, detections);
  const auto start = std::chrono::steady_clock::now();
  bot->Receive(flood);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  if (bot->Users() != expectedUsers) {
    state.SkipWithError("not every user of the flood reached the user list");
  }
  state.counters["detections"] = bot->Detections();
  return took.count();
}

void BM_LoginFlood(benchmark::State& state) {
  const int users = static_cast<int>(state.range(0));
  const std::string& flood = Flood(users);
  test::TempDir dir;
  for (auto _ : state) {
    state.SetIterationTime(FeedOnce(dir, flood, true, users, state));
  }
  state.SetItemsProcessed(state.iterations() * users);
  state.counters["per_user"] =
      benchmark::Counter(users, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LoginFlood)->Arg(kSmallHub)->Arg(kLargeHub)->UseManualTime()->Unit(benchmark::kMillisecond);

// Both hub sizes in every iteration, so the ratio of their per-user times is
// taken under the same conditions; a flat user list keeps it near 1.
void BM_LoginFloodScaling(benchmark::State& state) {
  test::TempDir dir;
  double small = 0;
  double large = 0;
  for (auto _ : state) {
    const double smallTook = FeedOnce(dir, Flood(kSmallHub), true, kSmallHub, state);
    const double largeTook = FeedOnce(dir, Flood(kLargeHub), true, kLargeHub, state);
    small += smallTook / kSmallHub;
    large += largeTook / kLargeHub;
    state.SetIterationTime(smallTook + largeTook);
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["per_user_5k_ns"] = small / iterations * 1e9;
  state.counters["per_user_50k_ns"] = large / iterations * 1e9;
  state.counters["ratio_50k_to_5k"] = large / small;
}
BENCHMARK(BM_LoginFloodScaling)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// Framing and dispatch alone (detections off) with the flood cut into reads of
// the given size; the plain scan for "|" below is the floor to compare with.
void BM_FramingAndDispatch(benchmark::State& state) {
  const std::size_t chunk = static_cast<std::size_t>(state.range(0));
  const std::string& flood = Flood(kLargeHub);
  test::TempDir dir;
  for (auto _ : state) {
    auto bot = std::make_unique<FloodBot>(dir, false);
    const auto start = std::chrono::steady_clock::now();
    const std::string_view bytes = flood;
    for (std::size_t offset = 0; offset < bytes.size(); offset += chunk) {
      bot->Receive(bytes.substr(offset, chunk));
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (bot->Users() != kLargeHub) {
      state.SkipWithError("not every user of the flood reached the user list");
    }
    state.SetIterationTime(took.count());
  }
  state.SetItemsProcessed(state.iterations() * CommandCount(flood));
}
BENCHMARK(BM_FramingAndDispatch)->Arg(1)->Arg(1024)->Arg(64 * 1024)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_MemchrScan(benchmark::State& state) {
  const std::string& flood = Flood(kLargeHub);
  for (auto _ : state) {
    int commands = 0;
    const char* at = flood.data();
    const char* end = at + flood.size();
    while (const void* bar = std::memchr(at, '|', static_cast<std::size_t>(end - at))) {
      ++commands;
      at = static_cast<const char*>(bar) + 1;
    }
    benchmark::DoNotOptimize(commands);
  }
  state.SetItemsProcessed(state.iterations() * CommandCount(flood));
}
BENCHMARK(BM_MemchrScan)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varnek
