// What ReloadOnChange costs a join while config.json does not change: the
// same join as the Join benchmark (1 000 listed players, no groups, the
// cheapest join, so the look at the file weighs the most), with the setting
// off and with it on. On, each pre-login makes one file-status query of
// config.json and finds its state unchanged; the file is never read.

#include <string>

#include <benchmark/benchmark.h>

#include "BenchServer.h"
#include "config/ReadConfig.h"
#include "sim/framework/SimHost.h"

namespace gatehouse {

namespace {

constexpr int64_t kWatchedPlayers = 1000;

void Joins(benchmark::State& state, bool watched) {
  bench::Server& server = bench::Server::Get();
  std::string text = server.UseConfig(kWatchedPlayers, 0);
  server.LoadPlugin();
  if (watched) {
    text.insert(1, "\"ReloadOnChange\": true, ");
    server.WriteConfig(text);
    ReadConfig();
    bench::Beside(state, {"JoinReloadOnChangeOff"});
  }
  {
    const bench::EngineBlockCheck blocks(state);
    const harness::SilentStdout silent;
    for (auto _ : state) {
      server.Game().Join(bench::kStranger);
      server.Game().Leave(bench::kStranger);
      sim::AdvanceSeconds(0);
    }
  }
  // The other benchmarks find the settings they asked for.
  server.WriteConfig(server.UseConfig(kWatchedPlayers, 0));
  ReadConfig();
}

void JoinReloadOnChangeOff(benchmark::State& state) {
  Joins(state, false);
}

void JoinReloadOnChangeOn(benchmark::State& state) {
  Joins(state, true);
}

}  // namespace

BENCHMARK(JoinReloadOnChangeOff)->Unit(benchmark::kMicrosecond);
BENCHMARK(JoinReloadOnChangeOn)->Unit(benchmark::kMicrosecond);

}  // namespace gatehouse
