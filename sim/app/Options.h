#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim::app {

enum class ClockChoice { automatic, virtual_time, real_time };

struct Options {
  std::string dir;     // empty: the working directory
  std::string plugin;  // empty: the plugin beside the simulator
  int32_t max_players = 70;
  std::string script;  // empty: standard input
  ClockChoice clock = ClockChoice::automatic;
  std::optional<uint16_t> rcon_port;
  std::string rcon_password;
  bool no_permissions = false;
  bool trace = false;
  std::vector<std::string> refuse;  // hook targets and command names the host refuses
  bool help = false;
};

struct ParsedOptions {
  std::optional<Options> options;
  std::string error;  // why the command line is bad, when options is empty
};

ParsedOptions ParseOptions(const std::vector<std::string>& arguments);

extern const char* const kUsage;

}  // namespace sim::app
