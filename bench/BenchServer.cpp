#include "BenchServer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <fmt/format.h>

#include "config/ReadConfig.h"
#include "plugin/Lifecycle.h"
#include "sim/framework/SimHost.h"

namespace gatehouse {

namespace bench {

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

Server::Server() {
  sim::ResetHost();
  sim::SetOutputWriter([](std::string_view) {});
  sim::SetErrorWriter([](std::string_view) {});
  const auto dir =
      std::filesystem::temp_directory_path() / ("gatehouse-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "ArkApi" / "Plugins" / "Gatehouse");
  dir_ = dir.string();
  sim::SetCurrentDir(dir_);
  sim::SetPermissionsLibraryPath(GATEHOUSE_PERMISSIONS_LIBRARY);
  game_ = std::make_unique<sim::Game>();
}

void Server::WriteConfig(const std::string& text) const {
  std::ofstream(ConfigPath(), std::ios::binary | std::ios::trunc) << text;
}

const std::string& Server::UseConfig(int64_t players, int64_t groups) {
  if (players != players_ || groups != groups_) {
    config_text_ = ConfigText(players, groups);
    WriteConfig(config_text_);
    ReadConfig();
    players_ = players;
    groups_ = groups;
  }
  return config_text_;
}

void Server::LoadPlugin() {
  if (loaded_) {
    return;
  }
  if (players_ < 0) {
    UseConfig(0, 0);
  }
  Load();
  loaded_ = true;
}

void Server::UnloadPlugin() {
  if (!loaded_) {
    return;
  }
  Unload();
  loaded_ = false;
  // The settings ended with the plugin's state: the next use reads them again.
  players_ = -1;
  groups_ = -1;
}

SilentStdout::SilentStdout() {
  std::fflush(stdout);
  saved_ = ::dup(STDOUT_FILENO);
  const int null = ::open("/dev/null", O_WRONLY);
  ::dup2(null, STDOUT_FILENO);
  ::close(null);
}

SilentStdout::~SilentStdout() {
  std::fflush(stdout);
  ::dup2(saved_, STDOUT_FILENO);
  ::close(saved_);
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

}  // namespace bench

}  // namespace gatehouse
