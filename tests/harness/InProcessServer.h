#pragma once

// The plugin's own code in this process against the simulated host and game,
// for the unit tests, the fuzz targets and the benchmarks: a fresh host and
// game, a server folder of its own, the permissions library the plugin binds,
// the host's log sinks, and Load and Unload as the library entry runs them.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <spdlog/common.h>

#include "sim/framework/SimHost.h"
#include "sim/game/EngineObjects.h"
#include "sim/game/Game.h"

namespace gatehouse::harness {

struct Options {
  // The library the plugin opens for its group queries; empty: the simulator's.
  std::string permissions_library;
  int32_t capacity = sim::Game::kDefaultCapacity;
  // Where the server's lines and error lines go; null: the simulator's own
  // (standard output and error).
  sim::LineWriter output = [](std::string_view) {};
  sim::LineWriter errors = [](std::string_view) {};
  // The host's log sinks while the server lives, in place of its own.
  std::vector<spdlog::sink_ptr> log_sinks;
};

class Server {
 public:
  // The host reset; the folder made, with the plugin's folder in it, under the
  // temporary folder as NAME-PID (builds side by side never share one); the
  // simulator's permission groups emptied; the plugin's state ended (the server
  // meets it as a freshly loaded module) and its log channel opened; the game made.
  explicit Server(const std::string& name, Options options = {});
  ~Server() { Close(); }
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // The plugin unloaded if it is loaded, the game gone, the plugin's state
  // ended, the host reset (pending callables let go), its log sinks put back
  // and the folder removed. Gives the engine blocks live then that were not at
  // the start: anything but 0 is a leak. Only the first call does anything.
  int64_t Close();

  const std::string& Folder() const { return folder_; }
  void WriteConfig(std::string_view text) const;
  void DeleteConfig() const;
  // Writes the file and reads it into the settings in force, as a reload does;
  // throws what the read throws.
  void UseConfig(std::string_view text) const;

  void Load();
  void Unload();
  bool Loaded() const { return loaded_; }

  // A console command line from the online player ID: false when that player
  // is not online or no such command is registered.
  bool Console(const std::string& id, const std::string& command_line);
  // An RCON command line from a client whose replies go nowhere.
  void Rcon(const std::string& command_line);

  sim::Game& Game() { return *game_; }

 private:
  std::string folder_;
  std::vector<spdlog::sink_ptr> host_sinks_;
  std::unique_ptr<sim::Game> game_;
  RCONClientConnection rcon_;
  int64_t live_blocks_at_start_ = 0;
  bool loaded_ = false;
  bool closed_ = false;
};

int64_t ProcessId();

// Standard output, where the plugin's console print writes.
namespace console {

// The system's line end, which the console print writes after each line.
extern const char* const kLineEnd;

// Before the plugin's first console print in the process: where the console
// print keeps the output handle it was made with (Windows), that handle is a
// file of ours from now on.
void PrepareCapture();

// Runs the action with standard output captured; gives what it wrote.
std::string Capture(const std::function<void()>& action);

}  // namespace console

// While it lives, standard output goes nowhere (POSIX systems, where the fuzz
// targets and the benchmarks run).
class SilentStdout {
 public:
  SilentStdout();
  ~SilentStdout();
  SilentStdout(const SilentStdout&) = delete;
  SilentStdout& operator=(const SilentStdout&) = delete;

 private:
  int saved_ = -1;
};

}  // namespace gatehouse::harness
