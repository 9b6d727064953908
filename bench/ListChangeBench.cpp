// Gatehouse.Add and Gatehouse.Remove on a config.json of 100 000 entries (the
// read-back and its check, the new file written, flushed and renamed over the
// old one, the saved file put in force), each beside the reload of the same
// file: ReadConfig alone, and ReadConfig with the preparation of the lists
// that the first join after it does. As after a reload, the lists of the
// saved file are prepared by the next test, not by the command: the command
// starts from lists already prepared, as a server that saw a join since.

#include <string>

#include <benchmark/benchmark.h>

#include "BenchServer.h"
#include "admission/PreparedLists.h"
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
  CurrentLists();
}

void AddPlayerCommand(benchmark::State& state) {
  FreshRead();
  bench::Beside(state, {"ReadConfigOnly", "ReadConfigAndPrepare"});
  for (auto _ : state) {
    state.PauseTiming();
    RemovePlayer(kNewcomer);
    CurrentLists();
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
    CurrentLists();
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
