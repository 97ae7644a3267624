#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/store/LangTable.h"
#include "core/users/MyInfoFields.h"
#include "core/users/UserList.h"

namespace varnek {
namespace {

struct Arrival {
  std::string nick;
  std::string share;
  MyInfoFields info;  // views into the texts above and literals
  std::string ip;
};

// A hub's worth of users: distinct nicks and IPs, shares mostly distinct with
// a share of clones, the way a login flood brings them. Filled in place, as
// the fields are views into the arrivals' own strings, which must not move.
void MakeArrivals(std::vector<Arrival>& arrivals) {
  const int count = static_cast<int>(arrivals.size());
  std::mt19937_64 random(static_cast<std::uint64_t>(count));
  for (int i = 0; i < count; ++i) {
    Arrival& a = arrivals[static_cast<std::size_t>(i)];
    const std::uint64_t share = (i % 10 == 0) ? 1073741824ULL * 50 : random() % (1ULL << 42);
    a.nick = "user" + std::to_string(i) + "_" + std::to_string(random() % 1000);
    a.share = std::to_string(share);
    a.info = MyInfoFields{.nick = a.nick,
                          .share = a.share,
                          .description = "description of a user",
                          .tag = "<++ V:0.868,M:A,H:1/0/0,S:3>",
                          .hubs = "1/0/0",
                          .mode = "A",
                          .connection = "LAN(T3)",
                          .email = "",
                          .limit = (i % 4 == 0) ? "50" : "",
                          .status = 1};
    a.ip =
        "10." + std::to_string((i >> 16) & 255) + "." + std::to_string((i >> 8) & 255) + "." + std::to_string(i & 255);
  }
}

// What the handlers do per arriving user: the detections look up the nick and
// the share (clones) before the $MyINFO updates the list, and the nick and the
// IP (same IP) before the $UserIP does.
void MyInfoArrives(UserList& list, const Arrival& a, const LangTable& lang) {
  benchmark::DoNotOptimize(list.FindUser(a.info.nick));
  benchmark::DoNotOptimize(list.FindUserByShare(a.info.share));
  list.ApplyMyInfo(a.info, lang);
}

void UserIpArrives(UserList& list, const Arrival& a) {
  const int known = list.FindUser(a.info.nick);
  benchmark::DoNotOptimize(list.FindUserByIp(a.ip));
  list.ApplyUserIp(a.info.nick, a.ip, known);
}

void ReportPerUser(benchmark::State& state, int count) {
  state.SetItemsProcessed(state.iterations() * count);
  state.counters["per_user"] = benchmark::Counter(
      static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// A login with N users on the hub. Second argument 0: each user's $UserIP
// follows his $MyINFO; 1: all $MyINFO first, then one $UserIP batch, so the
// empty IP is shared by every row until the batch arrives.
void BM_LoginFlood(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const bool ipsLater = state.range(1) != 0;
  std::vector<Arrival> arrivals(static_cast<std::size_t>(count));
  MakeArrivals(arrivals);
  const LangTable lang;
  for (auto _ : state) {
    auto list = std::make_unique<UserList>();
    for (const Arrival& a : arrivals) {
      MyInfoArrives(*list, a, lang);
      if (!ipsLater) {
        UserIpArrives(*list, a);
      }
    }
    if (ipsLater) {
      for (const Arrival& a : arrivals) {
        UserIpArrives(*list, a);
      }
    }
    state.PauseTiming();  // tearing the list down is not part of a login
    list.reset();
    state.ResumeTiming();
  }
  ReportPerUser(state, count);
}
BENCHMARK(BM_LoginFlood)
    ->ArgNames({"users", "ips_later"})
    ->ArgsProduct({{5000, 50000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// The same login into a list the operator has sorted by nick (before the
// connection, so it stays sorted through it): every row goes to its place
// among the others instead of to the end. Second argument as above; with the
// IPs later, the $UserIP batch changes no sorted text.
void BM_LoginFloodIntoASortedList(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const bool ipsLater = state.range(1) != 0;
  std::vector<Arrival> arrivals(static_cast<std::size_t>(count));
  MakeArrivals(arrivals);
  const LangTable lang;
  for (auto _ : state) {
    auto list = std::make_unique<UserList>();
    list->Sort(static_cast<int>(UserColumn::Username));
    for (const Arrival& a : arrivals) {
      MyInfoArrives(*list, a, lang);
      if (!ipsLater) {
        UserIpArrives(*list, a);
      }
    }
    if (ipsLater) {
      for (const Arrival& a : arrivals) {
        UserIpArrives(*list, a);
      }
    }
    state.PauseTiming();
    list.reset();
    state.ResumeTiming();
  }
  ReportPerUser(state, count);
}
BENCHMARK(BM_LoginFloodIntoASortedList)
    ->ArgNames({"users", "ips_later"})
    ->ArgsProduct({{5000, 50000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// A full list that only answers: the detections of a $MyINFO from a user who
// is already there, and his $UserIP.
void BM_LookupsInAFullList(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  std::vector<Arrival> arrivals(static_cast<std::size_t>(count));
  MakeArrivals(arrivals);
  const LangTable lang;
  UserList list;
  for (const Arrival& a : arrivals) {
    list.ApplyMyInfo(a.info, lang);
    list.ApplyUserIp(a.info.nick, a.ip, -1);
  }
  std::size_t next = 0;
  for (auto _ : state) {
    const Arrival& a = arrivals[next];
    next = (next + 7919) % arrivals.size();
    const int known = list.FindUser(a.info.nick);
    benchmark::DoNotOptimize(list.FindUserByShare(a.info.share));
    benchmark::DoNotOptimize(list.FindUserByIp(a.ip));
    list.ApplyMyInfo(a.info, lang);
    list.ApplyUserIp(a.info.nick, a.ip, known);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LookupsInAFullList)->Arg(5000)->Arg(50000);

// A user in the middle quits and logs in again: the row moves to the end.
void BM_QuitAndRejoin(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  std::vector<Arrival> arrivals(static_cast<std::size_t>(count));
  MakeArrivals(arrivals);
  const LangTable lang;
  UserList list;
  for (const Arrival& a : arrivals) {
    list.ApplyMyInfo(a.info, lang);
  }
  std::size_t next = 0;
  for (auto _ : state) {
    const Arrival& a = arrivals[next];
    next = (next + 7919) % arrivals.size();
    list.RemoveUser(a.info.nick);
    list.ApplyMyInfo(a.info, lang);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_QuitAndRejoin)->Arg(5000)->Arg(50000);

}  // namespace
}  // namespace varnek
