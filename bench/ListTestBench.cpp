// The whitelist test alone (IsWhitelisted, no groups) on N hex Identifiers,
// beside the floor of this machine: a hash lookup of the Identifier, and a
// plain case-insensitive loop over ready 16-bit strings. Also the walk that
// the test did before the lists were prepared: a copy of each list out of the
// document, and one engine string per entry, beside the plain loop.

#include <algorithm>
#include <cctype>
#include <string>
#include <unordered_set>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchServer.h"
#include "admission/ListMembership.h"
#include "admission/PreparedLists.h"
#include "config/Settings.h"

namespace gatehouse {

namespace {

// The last entry, in another letter case.
std::string Wanted(int64_t players) {
  std::string id = bench::HexIdentifier(static_cast<uint64_t>(players - 1));
  std::ranges::transform(id, id.begin(),
                         [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return id;
}

std::vector<std::u16string> ReadyTexts(int64_t players) {
  std::vector<std::u16string> texts;
  for (int64_t i = 0; i < players; ++i) {
    const std::string id = bench::HexIdentifier(static_cast<uint64_t>(i));
    texts.emplace_back(id.begin(), id.end());
  }
  return texts;
}

char16_t Fold(char16_t unit) {
  return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + 32) : unit;
}

bool EqualFolded(const std::u16string& a, const std::u16string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return Fold(x) == Fold(y); });
}

void FloorHashLookup(benchmark::State& state) {
  const std::vector<std::u16string> texts = ReadyTexts(state.range(0));
  const std::unordered_set<std::u16string> set(texts.begin(), texts.end());
  const std::string wanted = bench::HexIdentifier(static_cast<uint64_t>(state.range(0) - 1));
  const std::u16string key(wanted.begin(), wanted.end());
  for (auto _ : state) {
    benchmark::DoNotOptimize(set.find(key));
  }
}

void FloorPlainLoop(benchmark::State& state) {
  const std::vector<std::u16string> texts = ReadyTexts(state.range(0));
  const std::string wanted = Wanted(state.range(0));
  const std::u16string key(wanted.begin(), wanted.end());
  for (auto _ : state) {
    bool found = false;
    for (const std::u16string& text : texts) {
      found = EqualFolded(text, key) || found;
    }
    benchmark::DoNotOptimize(found);
  }
}

void ListTest(benchmark::State& state) {
  bench::Server& server = bench::Server::Get();
  const std::string& file = server.UseConfig(state.range(0), 0);
  bench::Beside(state, {"FloorHashLookup/" + std::to_string(state.range(0))});
  const bench::EngineBlockCheck blocks(state);
  const FString identifier(Wanted(state.range(0)).c_str());
  // The first test after a read prepares the lists; ReadConfigBench times it.
  benchmark::DoNotOptimize(IsWhitelisted(identifier));
  for (auto _ : state) {
    benchmark::DoNotOptimize(IsWhitelisted(identifier));
  }
  const size_t held = CurrentLists().MemoryBytes();
  state.counters["prepared_bytes"] = static_cast<double>(held);
  state.counters["held_per_file_byte"] =
      static_cast<double>(held) / static_cast<double>(file.size());
}

void ListTestWalked(benchmark::State& state) {
  bench::Server& server = bench::Server::Get();
  server.UseConfig(state.range(0), 0);
  bench::Beside(state, {"FloorPlainLoop/" + std::to_string(state.range(0)),
                        "ListTest/" + std::to_string(state.range(0))});
  const bench::EngineBlockCheck blocks(state);
  const FString identifier(Wanted(state.range(0)).c_str());
  for (auto _ : state) {
    const nlohmann::json groups = Settings::WhitelistedGroups();
    const nlohmann::json players = Settings::WhitelistedPlayers();
    const bool in_group = IsInAnyGroup(identifier, groups);
    benchmark::DoNotOptimize(IsListedPlayer(identifier, players) || in_group);
  }
}

}  // namespace

BENCHMARK(FloorHashLookup)->Arg(10)->Arg(10000)->Arg(100000)->Arg(1000000);
BENCHMARK(FloorPlainLoop)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(ListTest)->Arg(10)->Arg(10000)->Arg(100000)->Arg(1000000);
BENCHMARK(ListTestWalked)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond)->Iterations(5);

}  // namespace gatehouse
