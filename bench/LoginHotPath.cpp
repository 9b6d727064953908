// The login hot path: IsWhitelisted over a long WhitelistedPlayers list, the
// work every pre-login and post-login does, measured against a plain
// case-insensitive compare of the same strings in the same run. The ratio
// printed at the end is what to watch: absolute times vary by machine.

#include <benchmark/benchmark.h>

#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "admission/ListMembership.h"
#include "config/PluginConfig.h"
#include "sim/framework/SimHost.h"
#include "sim/game/Game.h"

namespace {

constexpr int kListLength = 10000;

std::vector<std::string> Identifiers() {
  std::vector<std::string> ids;
  ids.reserve(kListLength);
  for (int i = 0; i < kListLength; ++i) {
    ids.push_back("00020000" + std::to_string(10000000 + i));  // same length: every entry compares
  }
  return ids;
}

bool EqualsIgnoreCaseBaseline(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

void Baseline(benchmark::State& state) {
  const std::vector<std::string> ids = Identifiers();
  const std::string player = "00020000" + std::to_string(10000000 + kListLength - 1);
  for (auto _ : state) {
    bool found = false;
    for (const std::string& id : ids) {
      found = EqualsIgnoreCaseBaseline(id, player) || found;
    }
    benchmark::DoNotOptimize(found);
  }
}

void IsWhitelistedOnLongList(benchmark::State& state) {
  sim::ResetHost();
  sim::SetOutputWriter([](std::string_view) {});
  const auto game = std::make_unique<sim::Game>();
  PluginConfig() = {{"WhitelistedPlayers", Identifiers()}};
  const FString player(("00020000" + std::to_string(10000000 + kListLength - 1)).c_str());
  for (auto _ : state) {
    benchmark::DoNotOptimize(IsWhitelisted(player));
  }
}

}  // namespace

// Runs the baseline first, then the plugin's path, and reports their ratio.
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RegisterBenchmark("BaselineStdStringCompare", &Baseline)
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("IsWhitelistedLongList", &IsWhitelistedOnLongList)
      ->Unit(benchmark::kMicrosecond);

  // Both run in the same time unit, so their times divide.
  class RatioReporter : public benchmark::ConsoleReporter {
   public:
    void ReportRuns(const std::vector<Run>& runs) override {
      for (const Run& run : runs) {
        if (run.benchmark_name() == "BaselineStdStringCompare") {
          baseline_ = run.GetAdjustedRealTime();
        } else if (baseline_ > 0) {
          ratio_ = run.GetAdjustedRealTime() / baseline_;
        }
      }
      ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
      ConsoleReporter::Finalize();
      if (ratio_ > 0) {
        GetOutputStream() << "IsWhitelisted / baseline: " << ratio_ << "x\n";
      }
    }

   private:
    double baseline_ = 0;
    double ratio_ = 0;
  };
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
