#include "BenchServer.h"

#include <fmt/format.h>

#include "sim/framework/SimHost.h"

namespace gatehouse::bench {

std::string HexIdentifier(uint64_t i) {
  // Spread the bits over all 32 digits, as real Identifiers are.
  const uint64_t high = (i + 1) * 0x9E3779B97F4A7C15u;
  const uint64_t low = (i + 1) * 0xC2B2AE3D27D4EB4Fu;
  return fmt::format("{:016x}{:016x}", high, low);
}

std::string ConfigText(int64_t players, int64_t groups) {
  std::string text = R"({"OnlyWhitelisted": true, "UseBlacklist": true, "KickTimer": 0,)";
  std::string group_list;
  for (int64_t i = 0; i < groups; ++i) {
    group_list += fmt::format("{}\"group{}\"", i == 0 ? "" : ", ", i);
  }
  text += "\n\"WhitelistedGroups\": [" + group_list + "],";
  text += "\n\"BlacklistedGroups\": [" + group_list + "],";
  text += "\n\"WhitelistedPlayers\": [";
  for (int64_t i = 0; i < players; ++i) {
    text += i == 0 ? "\n\"" : ",\n\"";
    text += HexIdentifier(static_cast<uint64_t>(i));
    text += '"';
  }
  text += "\n]}\n";
  return text;
}

Server& Server::Get() {
  static Server server;
  return server;
}

Server::Server() : harness::Server("gatehouse-bench") {}

const std::string& Server::UseConfig(int64_t players, int64_t groups) {
  if (players != players_ || groups != groups_) {
    config_text_ = ConfigText(players, groups);
    harness::Server::UseConfig(config_text_);
    players_ = players;
    groups_ = groups;
  }
  return config_text_;
}

void Server::LoadPlugin() {
  if (Loaded()) {
    return;
  }
  if (players_ < 0) {
    UseConfig(0, 0);
  }
  Load();
}

void Server::UnloadPlugin() {
  if (!Loaded()) {
    return;
  }
  Unload();
  // The settings ended with the plugin's state: the next use reads them again.
  players_ = -1;
  groups_ = -1;
}

EngineBlockCheck::EngineBlockCheck(benchmark::State& state)
    : state_(state), at_start_(sim::LiveEngineBlocks()) {}

EngineBlockCheck::~EngineBlockCheck() {
  const int64_t left = sim::LiveEngineBlocks() - at_start_;
  if (left != 0) {
    state_.SkipWithError(fmt::format("{} engine blocks left live", left).c_str());
  }
}

void Beside(benchmark::State& state, std::initializer_list<std::string> baselines) {
  std::string label = "beside";
  for (const std::string& baseline : baselines) {
    label += " " + baseline;
  }
  state.SetLabel(label);
}

}  // namespace gatehouse::bench
