// A join through the real hook path: the game's pre-login, both capacity
// checks and post-login, with the plugin's hooks installed by Load, then the
// player's leave and a timer pass. The player is on no list, so every size of
// list does the same work: the whitelist test at pre-login and at post-login,
// the blacklist test, a kick scheduled with KickTimer 0 (which finds the player
// gone). Beside it: the same joins with no plugin loaded, and with no listed
// players.

#include <string>

#include <benchmark/benchmark.h>
#include <fmt/format.h>

#include "BenchServer.h"
#include "sim/framework/SimHost.h"

namespace gatehouse {

namespace {

void JoinAndLeave(sim::Game& game) {
  game.Join(bench::kStranger);
  game.Leave(bench::kStranger);
  sim::AdvanceSeconds(0);
}

void JoinWithoutPlugin(benchmark::State& state) {
  bench::Server& server = bench::Server::Get();
  server.UnloadPlugin();
  const bench::EngineBlockCheck blocks(state);
  const harness::SilentStdout silent;
  for (auto _ : state) {
    JoinAndLeave(server.Game());
  }
}

void Join(benchmark::State& state) {
  bench::Server& server = bench::Server::Get();
  server.UseConfig(state.range(0), state.range(1));
  server.LoadPlugin();
  bench::Beside(state,
                {"JoinWithoutPlugin", fmt::format("Join/players:0/groups:{}", state.range(1))});
  const bench::EngineBlockCheck blocks(state);
  const harness::SilentStdout silent;
  for (auto _ : state) {
    JoinAndLeave(server.Game());
  }
}

}  // namespace

BENCHMARK(JoinWithoutPlugin)->Unit(benchmark::kMicrosecond);
BENCHMARK(Join)
    ->ArgNames({"players", "groups"})
    ->ArgsProduct({{0, 10, 1000, 10000, 100000, 1000000}, {0, 5, 20, 50}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace gatehouse
