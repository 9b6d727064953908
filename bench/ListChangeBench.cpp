// Gatehouse.Add and Gatehouse.Remove on a config.json of 100 000 entries (the
// read-back and its check, the new file written, flushed and renamed over the
// old one, the saved file put in force), each beside the reload of the same
// file: ReadConfig alone, and ReadConfig with the preparation of the lists
// that the first join after it does. As after a reload, the lists of the
// saved file are prepared by the next test, not by the command: the command
// starts from lists already prepared, as a server that saw a join since.

#include <string>
#include <string_view>

#include <benchmark/benchmark.h>

#include "BenchServer.h"
#include "admission/PreparedLists.h"
#include "config/ReadConfig.h"
#include "operator/ListChange.h"

namespace gatehouse {

namespace {

constexpr int64_t kListedPlayers = 100000;
constexpr char16_t kNewcomer[] = u"0123456789abcdef0123456789abcdef";

// The settings in force read from the file, so that their bytes are the
// file's whatever ran before.
void FreshRead() {
  bench::Server::Get().UseConfig(kListedPlayers, 20);
  ReadConfig();
  CurrentLists();
}

// Times `change`, each time after `undo` (untimed) took the change back and
// the lists were prepared again.
void TimeChange(benchmark::State& state, std::string (*change)(std::u16string_view),
                std::string (*undo)(std::u16string_view), const char* answer) {
  FreshRead();
  bench::Beside(state, {"ReadConfigOnly", "ReadConfigAndPrepare"});
  for (auto _ : state) {
    state.PauseTiming();
    undo(kNewcomer);
    CurrentLists();
    state.ResumeTiming();
    if (change(kNewcomer).rfind(answer, 0) != 0) {
      state.SkipWithError("the command failed");
      break;
    }
  }
  RemovePlayer(kNewcomer);
}

void AddPlayerCommand(benchmark::State& state) {
  TimeChange(state, &AddPlayer, &RemovePlayer, "Added");
}

void RemovePlayerCommand(benchmark::State& state) {
  TimeChange(state, &RemovePlayer, &AddPlayer, "Removed");
}

}  // namespace

BENCHMARK(AddPlayerCommand)->Unit(benchmark::kMillisecond);
BENCHMARK(RemovePlayerCommand)->Unit(benchmark::kMillisecond);

}  // namespace gatehouse
