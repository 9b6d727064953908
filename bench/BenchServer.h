#pragma once

// The plugin's code in-process against the simulated host and game, as the
// tests run it: the plugin loaded through Load (hooks, commands, console print)
// or not loaded at all, and a config.json put in force through ReadConfig.

#include <cstdint>
#include <initializer_list>
#include <string>

#include <benchmark/benchmark.h>

#include "harness/InProcessServer.h"

namespace gatehouse::bench {

// An Identifier on no list, never among HexIdentifier's.
inline constexpr char kStranger[] = "ffffffffffffffffffffffffffffffff";

// A 32-digit hexadecimal Identifier, the i-th of a fixed sequence.
std::string HexIdentifier(uint64_t i);

// The text of a config.json with OnlyWhitelisted and UseBlacklist on,
// KickTimer 0, `players` hex Identifiers in WhitelistedPlayers and `groups`
// names in WhitelistedGroups and in BlacklistedGroups.
std::string ConfigText(int64_t players, int64_t groups);

// The run's one in-process server (tests/harness), with the settings of
// UseConfig in force. main closes it.
class Server : public harness::Server {
 public:
  static Server& Get();

  // Writes the file and reads it into the settings, unless these are the
  // settings in force already. Gives the file's text.
  const std::string& UseConfig(int64_t players, int64_t groups);

  void LoadPlugin();
  void UnloadPlugin();

 private:
  Server();

  std::string config_text_;
  int64_t players_ = -1;
  int64_t groups_ = -1;
};

// Fails the benchmark when engine blocks are live at its end that were not
// live at its start.
class EngineBlockCheck {
 public:
  explicit EngineBlockCheck(benchmark::State& state);
  ~EngineBlockCheck();
  EngineBlockCheck(const EngineBlockCheck&) = delete;
  EngineBlockCheck& operator=(const EngineBlockCheck&) = delete;

 private:
  benchmark::State& state_;
  int64_t at_start_;
};

// Names the benchmarks whose CPU time this one is set beside in the summary.
void Beside(benchmark::State& state, std::initializer_list<std::string> baselines);

}  // namespace gatehouse::bench
