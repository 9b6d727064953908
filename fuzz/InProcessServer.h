#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "host/EngineTypes.h"
#include "sim/game/Game.h"

namespace gatehouse {

namespace fuzz {

// The plugin's code running in-process against the simulated host and game,
// for one fuzz input: a fresh host, a game, the plugin's folder with its
// config.json. Nothing is printed: the console, the server's lines and the log
// records go nowhere. When it ends, the plugin is unloaded, every pending
// callable dropped, and the engine allocator must hold as many live blocks as
// it did at the start: a leak stops the run as a crash would.
class InProcessServer {
 public:
  explicit InProcessServer(int32_t capacity);
  ~InProcessServer();
  InProcessServer(const InProcessServer&) = delete;
  InProcessServer& operator=(const InProcessServer&) = delete;

  void WriteConfig(std::string_view text) const;
  void DeleteConfig() const;

  // Load and Unload as the library entry runs them.
  void Load();
  void Unload();
  bool Loaded() const { return loaded_; }

  // "Gatehouse.Reload" as the online player ID gives it in the console (false
  // when that player is not online), or as an RCON client sends it.
  bool ConsoleReload(const std::string& id);
  void RconReload();
  // Any RCON command line, as an RCON client sends it.
  void Rcon(const std::string& command_line);

  sim::Game& Game() { return *game_; }

 private:
  std::unique_ptr<sim::Game> game_;
  RCONClientConnection rcon_;
  int64_t live_blocks_at_start_ = 0;
  bool loaded_ = false;
};

// Adds to a count that is printed on standard error when the process ends, as
// "fuzz: NAME N" (the figures a run reports beside the fuzzer's own).
void Count(const char* name, uint64_t amount);

}  // namespace fuzz

}  // namespace gatehouse
