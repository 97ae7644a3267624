// ParseMyInfo over a few thousand varied commands of the kinds a busy hub
// relays at login: common clients with and without limits, hub bots, and
// descriptions and connections that carry their own limits.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/users/MyInfoParser.h"

namespace {

std::string NthCommand(int n) {
  static const char* const kTags[] = {
      "<++ V:0.868,M:A,H:1/0/2,S:3>",
      "<ncdc V:1.23.1,M:P,H:1/0/0,S:10>",
      "<EiskaltDC++ V:2.4.2,M:A,H:2/1/0,S:5,L:512>",
      "<microdc2 V:0.15.6,M:P,H:1/0/0,S:3>",
      "<DCGUI V:0.3.3,M:5,H:4/0/1,S:8,B:100,D:10>",
      "",
  };
  static const char* const kDescriptions[] = {"", "music and films", "[L:[U:40/D:0]] seeding", "x<y>", "ask first"};
  static const char* const kConnections[] = {"DSL", "Cable", "100", "NetLimiter [25 kB/s]", "LAN(T3)", ""};
  const std::string nick = "user" + std::to_string(n);
  if (n % 50 == 0) {
    return "$ALL Bot" + std::to_string(n) + " $ $\x0b$$$";  // hub bot
  }
  const std::string email = n % 3 == 0 ? nick + "@example.invalid" : "";
  const std::string share = std::to_string(static_cast<long long>(n) * 7919LL * 1048576LL);
  return "$ALL " + nick + " " + kDescriptions[n % 5] + kTags[n % 6] + "$ $" + kConnections[n % 6] +
         static_cast<char>(1 + n % 11) + "$" + email + "$" + share + "$";
}

void BM_ParseMyInfo(benchmark::State& state) {
  std::vector<std::string> commands;
  commands.reserve(4000);
  for (int n = 0; n < 4000; ++n) {
    commands.push_back(NthCommand(n));
  }
  for (auto _ : state) {
    for (const std::string& command : commands) {
      benchmark::DoNotOptimize(varnek::ParseMyInfo(command));
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(commands.size()));
}
BENCHMARK(BM_ParseMyInfo);

}  // namespace
