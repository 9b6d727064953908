// Gatehouse.Add and Gatehouse.Remove on a config.json of 100 000 entries (the
// read-back and its check, the new file written, flushed and renamed over the
// old one, the saved file put in force, the lists prepared for the next test),
// each beside the reload of the same file: ReadConfig alone, and ReadConfig
// with the preparation of the lists that the first join after it does.

#include <string>

#include <benchmark/benchmark.h>

#include "BenchServer.h"
#include "config/ReadConfig.h"
#include "operator/ListChange.h"

namespace gatehouse {

namespace {

constexpr int64_t kPlayers = 100000;
constexpr char16_t kNewcomer[] = u"0123456789abcdef0123456789abcdef";

// The settings in force read from the file, so that their bytes are the
// file's whatever ran before.
void FreshRead() {
  bench::Server::Get().UseConfig(kPlayers, 20);
  ReadConfig();
}

void AddPlayerCommand(benchmark::State& state) {
  FreshRead();
  bench::Beside(state, {"ReadConfigOnly", "ReadConfigAndPrepare"});
  for (auto _ : state) {
    state.PauseTiming();
    RemovePlayer(kNewcomer);
    state.ResumeTiming();
    if (AddPlayer(kNewcomer).rfind("Added", 0) != 0) {
      state.SkipWithError("Add failed");
      break;
    }
  }
  RemovePlayer(kNewcomer);
}

void RemovePlayerCommand(benchmark::State& state) {
  FreshRead();
  bench::Beside(state, {"ReadConfigOnly", "ReadConfigAndPrepare"});
  for (auto _ : state) {
    state.PauseTiming();
    AddPlayer(kNewcomer);
    state.ResumeTiming();
    if (RemovePlayer(kNewcomer).rfind("Removed", 0) != 0) {
      state.SkipWithError("Remove failed");
      break;
    }
  }
}

}  // namespace

BENCHMARK(AddPlayerCommand)->Unit(benchmark::kMillisecond);
BENCHMARK(RemovePlayerCommand)->Unit(benchmark::kMillisecond);

}  // namespace gatehouse
