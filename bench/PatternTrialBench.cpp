#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>

#include "core/store/LangTable.h"
#include "core/users/MyInfoFields.h"
#include "core/users/PatternTrial.h"
#include "core/users/UserList.h"

namespace varnek {
namespace {

// A hub of N users with distinct nicks, IPs, tags and shares.
void FillHub(UserList& users, int count) {
  std::mt19937_64 random(static_cast<std::uint64_t>(count));
  const LangTable lang;
  for (int i = 0; i < count; ++i) {
    const std::string nick = "user" + std::to_string(i) + "_" + std::to_string(random() % 1000);
    users.ApplyMyInfo(MyInfoFields{.nick = nick,
                                   .share = std::to_string(random() % (1ULL << 42)),
                                   .description = "description of a user",
                                   .tag = "<++ V:0.86" + std::to_string(i % 10) + ",M:A,H:1/0/0,S:3>",
                                   .hubs = "1/0/0",
                                   .mode = "A",
                                   .connection = "LAN(T3)",
                                   .email = "",
                                   .limit = "",
                                   .status = 1},
                      lang);
    users.ApplyUserIp(
        nick,
        "10." + std::to_string((i >> 16) & 255) + "." + std::to_string((i >> 8) & 255) + "." + std::to_string(i & 255),
        -1);
  }
}

// The answer to "%test LIST PATTERN" on a full hub: one pass over every
// user's value of that list. Must stay well under a tenth of a second at
// 50,000 users, also for a pattern without any literal to file it under.
void BM_TryPattern(benchmark::State& state, UserColumn column, const char* pattern) {
  const int count = static_cast<int>(state.range(0));
  UserList users;
  FillHub(users, count);
  for (auto _ : state) {
    benchmark::DoNotOptimize(TryPattern(users, column, pattern, 10));
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK_CAPTURE(BM_TryPattern, nick_rare, UserColumn::Username, "*spam*")->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TryPattern, tag_common, UserColumn::Tag, "*V:0.863*")->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TryPattern, ip_all, UserColumn::Ip, "10.*")->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TryPattern, share_stars, UserColumn::ExactShareSize, "*1*2*3*")
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varnek
