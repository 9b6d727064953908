// A join through the real hook path: the game's pre-login, both capacity
// checks and post-login, with the plugin's hooks installed by Load, then the
// player's leave and a timer pass. The player is on no list, so every size of
// list does the same work: the whitelist test at pre-login and at post-login,
// the blacklist test, a kick scheduled with KickTimer 0 (which finds the player
// gone). Beside it: the same joins with no plugin loaded, and with no listed
// players.
//
// What ReloadOnChange costs a join while config.json does not change: the
// same join with 1 000 listed players and no groups (the cheapest join, so the
// look at the file weighs the most), with the setting off and with it on. On,
// each pre-login makes one file-status query of config.json and finds its
// state unchanged; the file is never read.

#include <string>

#include <benchmark/benchmark.h>
#include <fmt/format.h>

#include "BenchServer.h"
#include "config/ReadConfig.h"
#include "sim/framework/SimHost.h"

namespace gatehouse {

namespace {

constexpr int64_t kWatchedPlayers = 1000;

void JoinsAndLeaves(benchmark::State& state) {
  const bench::EngineBlockCheck blocks(state);
  const harness::SilentStdout silent;
  sim::Game& game = bench::Server::Get().Game();
  for (auto _ : state) {
    game.Join(bench::kStranger);
    game.Leave(bench::kStranger);
    sim::AdvanceSeconds(0);
  }
}

void JoinWithoutPlugin(benchmark::State& state) {
  bench::Server::Get().UnloadPlugin();
  JoinsAndLeaves(state);
}

void Join(benchmark::State& state) {
  bench::Server& server = bench::Server::Get();
  server.UseConfig(state.range(0), state.range(1));
  server.LoadPlugin();
  bench::Beside(state,
                {"JoinWithoutPlugin", fmt::format("Join/players:0/groups:{}", state.range(1))});
  JoinsAndLeaves(state);
}

void JoinReloadOnChange(benchmark::State& state, bool watched) {
  bench::Server& server = bench::Server::Get();
  std::string text = server.UseConfig(kWatchedPlayers, 0);
  server.LoadPlugin();
  if (watched) {
    text.insert(1, "\"ReloadOnChange\": true, ");
    server.WriteConfig(text);
    ReadConfig();
    bench::Beside(state, {"JoinReloadOnChangeOff"});
  }
  JoinsAndLeaves(state);
  // The other benchmarks find the settings they asked for.
  server.WriteConfig(server.UseConfig(kWatchedPlayers, 0));
  ReadConfig();
}

void JoinReloadOnChangeOff(benchmark::State& state) {
  JoinReloadOnChange(state, false);
}

void JoinReloadOnChangeOn(benchmark::State& state) {
  JoinReloadOnChange(state, true);
}

}  // namespace

BENCHMARK(JoinWithoutPlugin)->Unit(benchmark::kMicrosecond);
BENCHMARK(Join)
    ->ArgNames({"players", "groups"})
    ->ArgsProduct({{0, 10, 1000, 10000, 100000, 1000000}, {0, 5, 20, 50}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(JoinReloadOnChangeOff)->Unit(benchmark::kMicrosecond);
BENCHMARK(JoinReloadOnChangeOn)->Unit(benchmark::kMicrosecond);

}  // namespace gatehouse
