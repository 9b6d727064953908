// Reading a config.json of 100 000 hex Identifiers: ReadConfig alone, and
// ReadConfig with the preparation of the lists that the first test after it
// does, each beside a plain parse of the same file by the JSON library; and
// that first test alone.

#include <fstream>

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include "BenchServer.h"
#include "admission/ListMembership.h"
#include "admission/PreparedLists.h"
#include "config/ReadConfig.h"

namespace gatehouse {

namespace {

constexpr int64_t kReadPlayers = 100000;

void PlainParse(benchmark::State& state) {
  bench::Server::Get().UseConfig(kReadPlayers, 20);
  for (auto _ : state) {
    std::ifstream file(ConfigPath());
    nlohmann::json document;
    file >> document;
    benchmark::DoNotOptimize(document);
  }
}

void ReadConfigOnly(benchmark::State& state) {
  bench::Server::Get().UseConfig(kReadPlayers, 20);
  bench::Beside(state, {"PlainParse"});
  for (auto _ : state) {
    ReadConfig();
  }
}

void ReadConfigAndPrepare(benchmark::State& state) {
  bench::Server::Get().UseConfig(kReadPlayers, 20);
  bench::Beside(state, {"PlainParse"});
  for (auto _ : state) {
    ReadConfig();
    benchmark::DoNotOptimize(&CurrentLists());
  }
}

// The first whitelist test after a read, which prepares the lists.
void FirstTestAfterRead(benchmark::State& state) {
  bench::Server::Get().UseConfig(kReadPlayers, 0);
  const FString stranger(bench::kStranger);
  for (auto _ : state) {
    state.PauseTiming();
    ReadConfig();
    state.ResumeTiming();
    benchmark::DoNotOptimize(IsWhitelisted(stranger));
  }
}

}  // namespace

BENCHMARK(PlainParse)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadConfigOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadConfigAndPrepare)->Unit(benchmark::kMillisecond);
BENCHMARK(FirstTestAfterRead)->Unit(benchmark::kMillisecond);

}  // namespace gatehouse
