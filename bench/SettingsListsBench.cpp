// Loading and saving Varnek.ini with long pattern lists: a hub that keeps tens
// of thousands of forbidden nicks loads them at start and writes them at every
// save, while the hub's traffic waits. The scaling benchmark runs a short and
// a long list in the same iteration and reports the ratio of their times per
// entry: near 10 when loading or saving is quadratic in the list's length,
// near 1 when it is linear.

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "fakes/SettingsWorld.h"
#include "fakes/TempDir.h"

namespace varnek {
namespace {

constexpr int kShortList = 5'000;
constexpr int kLongList = 50'000;

using test::SettingsWorld;

std::vector<std::string> NickPatterns(int count) {
  std::vector<std::string> patterns;
  patterns.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    patterns.push_back("*spam" + std::to_string(i) + "bot*");
  }
  return patterns;
}

// A program directory whose Varnek.ini holds N nick patterns and N IP patterns.
void WriteFileWithLists(const test::TempDir& dir, int count) {
  SettingsWorld world(dir.Path());
  world.controls.List("KickNickListView").Assign(NickPatterns(count));
  std::vector<std::string> ips;
  for (int i = 0; i < count; ++i) {
    ips.push_back("10." + std::to_string(i / 256 % 256) + "." + std::to_string(i % 256) + ".*");
  }
  world.controls.List("KickIpListView").Assign(std::move(ips));
  world.settings.Save();
}

double SecondsOf(const auto& action) {
  const auto start = std::chrono::steady_clock::now();
  action();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double LoadSeconds(const test::TempDir& dir, int expected, benchmark::State& state) {
  SettingsWorld world(dir.Path());
  const double took = SecondsOf([&] { world.settings.Load(); });
  if (world.controls.List("KickNickListView").Count() != expected) {
    state.SkipWithError("the list did not load whole");
  }
  return took;
}

double SaveSeconds(const test::TempDir& dir, int count) {
  SettingsWorld world(dir.Path());
  world.controls.List("KickNickListView").Assign(NickPatterns(count));
  return SecondsOf([&] { world.settings.Save(); });
}

struct Directories {
  Directories() {
    for (const test::TempDir* dir : {&shortList, &longList}) {
      std::filesystem::create_directory(*dir / "logs");
    }
    WriteFileWithLists(shortList, kShortList);
    WriteFileWithLists(longList, kLongList);
  }
  const test::TempDir& For(int count) const { return count == kShortList ? shortList : longList; }
  test::TempDir shortList;
  test::TempDir longList;
};

const Directories& Files() {
  static const Directories files;
  return files;
}

void BM_LoadLists(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.SetIterationTime(LoadSeconds(Files().For(count), count, state));
  }
  state.SetItemsProcessed(state.iterations() * count * 2);
}
BENCHMARK(BM_LoadLists)->Arg(kShortList)->Arg(kLongList)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_SaveLists(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.SetIterationTime(SaveSeconds(Files().For(count), count));
  }
  state.SetItemsProcessed(state.iterations() * count * 2);
}
BENCHMARK(BM_SaveLists)->Arg(kShortList)->Arg(kLongList)->UseManualTime()->Unit(benchmark::kMillisecond);

// Both list lengths in every iteration, so the ratio of their per-entry times
// is taken under the same conditions.
void BM_SettingsListsScaling(benchmark::State& state) {
  double shortPerEntry = 0;
  double longPerEntry = 0;
  for (auto _ : state) {
    const double shortTook =
        LoadSeconds(Files().For(kShortList), kShortList, state) + SaveSeconds(Files().For(kShortList), kShortList);
    const double longTook =
        LoadSeconds(Files().For(kLongList), kLongList, state) + SaveSeconds(Files().For(kLongList), kLongList);
    shortPerEntry += shortTook / kShortList;
    longPerEntry += longTook / kLongList;
    state.SetIterationTime(shortTook + longTook);
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["per_entry_5k_ns"] = shortPerEntry / iterations * 1e9;
  state.counters["per_entry_50k_ns"] = longPerEntry / iterations * 1e9;
  state.counters["ratio_50k_to_5k"] = longPerEntry / shortPerEntry;
}
BENCHMARK(BM_SettingsListsScaling)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace varnek
