// MatchesPattern against its worst case, a pattern of thirty "*" runs whose
// last literal never occurs, so the last "*" is tried at every end of the
// value; next to one memchr over the same value as the floor of what any
// matcher has to pay; and the everyday case of a pattern list tried against
// one nick, plainly and compiled, next to one memchr over the nick.

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/users/Pattern.h"
#include "core/users/PatternList.h"

namespace {

std::string AdversarialPattern() {
  std::string pattern;
  for (int i = 0; i < 29; ++i) {
    pattern += "*a";
  }
  return pattern + "*b";
}

void BM_AdversarialPattern(benchmark::State& state) {
  const std::string value(static_cast<std::size_t>(state.range(0)), 'a');
  const std::string pattern = AdversarialPattern();
  for (auto _ : state) {
    benchmark::DoNotOptimize(varnek::MatchesPattern(value, pattern));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(value.size()));
}
// Two sizes show that the time grows with the value, not explosively.
BENCHMARK(BM_AdversarialPattern)->Arg(1000)->Arg(10000);

void BM_MemchrBaseline(benchmark::State& state) {
  const std::string value(static_cast<std::size_t>(state.range(0)), 'a');
  for (auto _ : state) {
    // A byte search, not a string copy: there is no terminator to include.
    // NOLINTNEXTLINE(bugprone-not-null-terminated-result)
    benchmark::DoNotOptimize(std::memchr(value.data(), 'b', value.size()));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(value.size()));
}
BENCHMARK(BM_MemchrBaseline)->Arg(1000)->Arg(10000);

std::vector<std::string> TypicalPatterns() {
  static const char* const kShapes[] = {"*bot*",   "[ISP]*", "*-hub*", "guest*", "Admin",
                                        "*leech*", "*?*",    "a*z",    "*2023",  "*[BR]*"};
  std::vector<std::string> patterns;
  patterns.reserve(100);
  for (int i = 0; i < 100; ++i) {
    patterns.push_back(std::string(kShapes[i % 10]) + (i < 10 ? "" : std::to_string(i)));
  }
  return patterns;
}

// Every pattern of the list tried in turn, as in a scan where none matches.
void ScanPatterns(benchmark::State& state, const std::string& nick) {
  const std::vector<std::string> patterns = TypicalPatterns();
  for (auto _ : state) {
    int matches = 0;
    for (const std::string& pattern : patterns) {
      matches += varnek::MatchesPattern(nick, pattern) ? 1 : 0;
    }
    benchmark::DoNotOptimize(matches);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(patterns.size()));
}

void BM_TypicalPatternsPlainNick(benchmark::State& state) {
  ScanPatterns(state, "JohnDoe_42");
}
BENCHMARK(BM_TypicalPatternsPlainNick);

void BM_TypicalPatternsBracketNick(benchmark::State& state) {
  ScanPatterns(state, "[DE]John-Doe_42");
}
BENCHMARK(BM_TypicalPatternsBracketNick);

// The same list compiled, as the detections match it: one pass over the
// nick instead of one match per pattern.
void ScanCompiled(benchmark::State& state, const std::string& nick) {
  varnek::CompiledPatterns compiled(TypicalPatterns());
  for (auto _ : state) {
    benchmark::DoNotOptimize(compiled.FirstMatch(nick));
  }
  state.SetItemsProcessed(state.iterations() * 100);
}

void BM_CompiledPatternsPlainNick(benchmark::State& state) {
  ScanCompiled(state, "JohnDoe_42");
}
BENCHMARK(BM_CompiledPatternsPlainNick);

void BM_CompiledPatternsBracketNick(benchmark::State& state) {
  ScanCompiled(state, "[DE]John-Doe_42");
}
BENCHMARK(BM_CompiledPatternsBracketNick);

// The floor: one byte search over the nick, the least any scan of the value
// can cost. The compiled list is reported as a multiple of this.
void BM_MemchrNick(benchmark::State& state) {
  const std::string nick = "[DE]John-Doe_42";
  for (auto _ : state) {
    benchmark::DoNotOptimize(nick.data());
    // NOLINTNEXTLINE(bugprone-not-null-terminated-result)
    benchmark::DoNotOptimize(std::memchr(nick.data(), '*', nick.size()));
  }
  state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_MemchrNick);

}  // namespace
