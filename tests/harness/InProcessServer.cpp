#include "harness/InProcessServer.h"

#include <filesystem>
#include <fstream>
#include <utility>

#include "common/Names.h"
#include "common/PluginLog.h"
#include "config/ReadConfig.h"
#include "host/LogSinks.h"
#include "host/Tools.h"
#include "host/Utf8Path.h"
#include "plugin/Lifecycle.h"
#include "plugin/PluginState.h"
#include "sim/permissions/PermissionGroups.h"

namespace gatehouse::harness {

namespace fs = std::filesystem;

namespace {

std::string FreshFolder(const std::string& name) {
  const fs::path folder = fs::temp_directory_path() / (name + "-" + std::to_string(ProcessId()));
  fs::remove_all(folder);
  fs::create_directories(folder / AsaApi::Tools::kPluginsFolder / Names::kPlugin);
  return Utf8FromPath(folder);
}

}  // namespace

Server::Server(const std::string& name, Options options) : folder_(FreshFolder(name)) {
  EndPluginState();
  sim::ResetHost();
  live_blocks_at_start_ = sim::LiveEngineBlocks();
  sim::SetCurrentDir(folder_);
  sim::SetPermissionsLibraryPath(options.permissions_library.empty()
                                     ? GATEHOUSE_HARNESS_SIM_PERMISSIONS
                                     : options.permissions_library);
  sim::SetOutputWriter(std::move(options.output));
  sim::SetErrorWriter(std::move(options.errors));
  sim::permissions::Clear();
  std::vector<spdlog::sink_ptr>& sinks = AsaApi::GetLogSinks();
  host_sinks_ = std::exchange(sinks, std::move(options.log_sinks));
  // Records of code that runs before Load (a read of the settings) reach the
  // sinks as well.
  PluginLog::Get().Init(Names::kPlugin);
  game_ = std::make_unique<sim::Game>(options.capacity);
}

int64_t Server::Close() {
  if (closed_) {
    return 0;
  }
  closed_ = true;
  if (loaded_) {
    Unload();
  }
  game_.reset();
  // The plugin's state ends with the server, as it does at an unload: the next
  // server starts from a plugin that was never loaded.
  EndPluginState();
  // Pending kicks hold engine strings until the timer lets them go.
  sim::ResetHost();
  AsaApi::GetLogSinks() = std::move(host_sinks_);
  std::error_code ignored;
  fs::remove_all(PathFromUtf8(folder_), ignored);
  return sim::LiveEngineBlocks() - live_blocks_at_start_;
}

void Server::WriteConfig(std::string_view text) const {
  std::ofstream(PathFromUtf8(ConfigPath()), std::ios::binary | std::ios::trunc)
      .write(text.data(), static_cast<std::streamsize>(text.size()));
}

void Server::DeleteConfig() const {
  std::error_code ignored;
  fs::remove(PathFromUtf8(ConfigPath()), ignored);
}

void Server::UseConfig(std::string_view text) const {
  WriteConfig(text);
  ReadConfig();
}

void Server::Load() {
  gatehouse::Load();
  loaded_ = true;
}

void Server::Unload() {
  gatehouse::Unload();
  loaded_ = false;
}

bool Server::Console(const std::string& id, const std::string& command_line) {
  AShooterPlayerController* player = game_->FindPlayer(id);
  return player != nullptr &&
         sim::DispatchConsoleCommand(player, sim::FStringFromUtf8(command_line));
}

void Server::Rcon(const std::string& command_line) {
  RCONPacket packet;
  packet.Id = 1;
  packet.Type = 2;
  packet.Body = sim::FStringFromUtf8(command_line);
  sim::DispatchRconCommand(&rcon_, packet, game_->World());
}

}  // namespace gatehouse::harness
