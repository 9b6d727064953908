#include "InProcessServer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <spdlog/sinks/null_sink.h>

#include "common/Names.h"
#include "config/ReadConfig.h"
#include "host/LogSinks.h"
#include "plugin/Lifecycle.h"
#include "plugin/PluginState.h"
#include "sim/framework/SimHost.h"
#include "sim/game/EngineObjects.h"
#include "sim/permissions/PermissionGroups.h"

namespace gatehouse {

namespace fuzz {
namespace {

// Once per process: a server folder of its own, removed at exit, and standard
// output (where the plugin's console lines go) sent nowhere; the fuzzer
// reports on standard error.
const std::string& ServerFolder() {
  // Never destroyed: the exit handler that removes the folder still reads it.
  static const std::string* const folder = [] {
    const auto dir =
        std::filesystem::temp_directory_path() / ("gatehouse-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "ArkApi" / "Plugins" / Names::kPlugin);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(ServerFolder(), ignored);
    });
    std::fflush(stdout);
    const int null_fd = ::open("/dev/null", O_WRONLY);
    if (null_fd >= 0) {
      ::dup2(null_fd, STDOUT_FILENO);
      ::close(null_fd);
    }
    return new std::string(dir.string());
  }();
  return *folder;
}

void Discard(std::string_view /*line*/) {}

struct Counted {
  const char* name = nullptr;
  uint64_t total = 0;
};
// Never destroyed: the exit handler reads it.
Counted* const counted = new Counted();

}  // namespace

InProcessServer::InProcessServer(int32_t capacity) {
  sim::ResetHost();
  live_blocks_at_start_ = sim::LiveEngineBlocks();
  sim::SetCurrentDir(ServerFolder());
  sim::SetPermissionsLibraryPath(GATEHOUSE_FUZZ_PERMISSIONS_LIBRARY);
  sim::SetOutputWriter(&Discard);
  sim::SetErrorWriter(&Discard);
  sim::permissions::Clear();
  auto& sinks = AsaApi::GetLogSinks();
  sinks.assign({std::make_shared<spdlog::sinks::null_sink_mt>()});
  // Each input meets the plugin as a freshly loaded module does: no state.
  EndPluginState();
  rcon_.reply = [](int32_t, int32_t, const std::string&) {};
  game_ = std::make_unique<sim::Game>(capacity);
}

InProcessServer::~InProcessServer() {
  if (loaded_) {
    Unload();
  }
  game_.reset();
  sim::ResetHost();
  EndPluginState();
  if (sim::LiveEngineBlocks() != live_blocks_at_start_) {
    std::fprintf(stderr, "engine blocks leaked: %lld\n",
                 static_cast<long long>(sim::LiveEngineBlocks() - live_blocks_at_start_));
    std::abort();
  }
}

void InProcessServer::WriteConfig(std::string_view text) const {
  std::ofstream(ConfigPath(), std::ios::binary | std::ios::trunc)
      .write(text.data(), static_cast<std::streamsize>(text.size()));
}

void InProcessServer::DeleteConfig() const {
  std::error_code ignored;
  std::filesystem::remove(ConfigPath(), ignored);
}

void InProcessServer::Load() {
  gatehouse::Load();
  loaded_ = true;
}

void InProcessServer::Unload() {
  gatehouse::Unload();
  loaded_ = false;
}

bool InProcessServer::ConsoleReload(const std::string& id) {
  AShooterPlayerController* player = game_->FindPlayer(id);
  if (player == nullptr) {
    return false;
  }
  sim::DispatchConsoleCommand(player, FString(Names::kReloadCommand));
  return true;
}

void InProcessServer::RconReload() {
  Rcon(Names::kReloadCommand);
}

void InProcessServer::Rcon(const std::string& command_line) {
  RCONPacket packet;
  packet.Id = 1;
  packet.Type = 2;
  packet.Body = FString(command_line.c_str());
  sim::DispatchRconCommand(&rcon_, packet, game_->World());
}

void Count(const char* name, uint64_t amount) {
  if (counted->name == nullptr) {
    counted->name = name;
    std::atexit([] {
      std::fprintf(stderr, "fuzz: %s %llu\n", counted->name,
                   static_cast<unsigned long long>(counted->total));
    });
  }
  counted->total += amount;
}

}  // namespace fuzz

}  // namespace gatehouse
