// Runs the benchmarks, then sets each one that names a baseline beside that
// baseline's CPU time from the same run: the ratios are what to compare across
// machines, not the times.

#include <cstdint>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <fmt/format.h>

#include "BenchServer.h"
#include "sim/framework/SimHost.h"

namespace {

class BesideReporter : public benchmark::ConsoleReporter {
 public:
  // Plain text: the figures are read from files and copied into tables.
  BesideReporter() : ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) {
        continue;
      }
      const std::string name = run.benchmark_name();
      cpu_ns_[name] =
          run.GetAdjustedCPUTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
      order_.push_back(name);
      // "beside NAME NAME ...": benchmark names hold no blanks.
      std::istringstream label(run.report_label);
      std::string word;
      if (label >> word && word == "beside") {
        while (label >> word) {
          baselines_[name].push_back(word);
        }
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    auto& out = GetOutputStream();
    out << "\nCPU time beside its baseline (same run)\n";
    for (const std::string& name : order_) {
      const auto baselines = baselines_.find(name);
      if (baselines == baselines_.end()) {
        continue;
      }
      for (const std::string& baseline : baselines->second) {
        if (!cpu_ns_.contains(baseline)) {
          continue;
        }
        const double base = cpu_ns_.at(baseline);
        out << fmt::format("{:<32} {:>14.3f} us   {:<28} {:>12.3f} us {:>10.2f}x\n", name,
                           cpu_ns_.at(name) / 1e3, baseline, base / 1e3, cpu_ns_.at(name) / base);
      }
    }
  }

 private:
  std::map<std::string, double> cpu_ns_;
  std::map<std::string, std::vector<std::string>> baselines_;
  std::vector<std::string> order_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  BesideReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  gatehouse::bench::Server::Get().Close();
  const int64_t live = sim::LiveEngineBlocks();
  std::printf("engine blocks live at exit: %lld\n", static_cast<long long>(live));
  return live == 0 ? 0 : 1;
}
