#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sim/app/EventLoop.h"
#include "sim/app/FaultCommand.h"
#include "sim/app/Options.h"
#include "sim/app/PluginLoader.h"
#include "sim/game/Game.h"

namespace sim::app {

// The simulated server as its operator drives it: the game, the plugin loader
// and the command language. Constructing it sets the host up and loads the
// plugin; destroying it unloads the plugin.
class Simulator {
 public:
  // command_folder: where relative `config FILE` paths start from.
  Simulator(const Options& options, std::string simulator_folder, std::string command_folder,
            EventLoop& loop);
  ~Simulator();
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  // Runs one command line. False once `quit` has run.
  bool Execute(std::string_view line);

  // Every form of every command, one a line, each indented by two blanks (the
  // command list of --help).
  static std::string CommandForms();

  Game& GetGame() { return *game_; }

 private:
  using Words = std::vector<std::string_view>;

  struct CommandRule {
    std::string_view name;
    const char* arguments;  // the forms of its arguments, one a line ("": none)
    size_t min_arguments;
    size_t max_arguments;
    const char* complaint;  // after the name when the count is wrong; null: checked by the action
    void (*action)(Simulator& simulator, const Words& words, std::string_view line);
  };
  static const std::vector<CommandRule>& Commands();

  void Run(std::string_view line);
  void Wait(const Words& words);
  void Console(const Words& words, std::string_view line);
  void Config(const Words& words);
  void Explain(const Words& words);

  std::string ConfigPath() const;
  FaultTargets Faults() const;

  std::string command_folder_;
  std::string permissions_path_;
  EventLoop& loop_;
  std::unique_ptr<Game> game_;
  PluginLoader loader_;
  RCONClientConnection local_rcon_;
  int32_t next_rcon_request_ = 1;
  bool quit_ = false;
};

}  // namespace sim::app
