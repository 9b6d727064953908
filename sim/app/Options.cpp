#include "sim/app/Options.h"

#include <limits>

#include "sim/app/Numbers.h"

namespace sim::app {

const char* const kUsage =
    "usage: gatehouse-sim [--dir DIR] [--plugin FILE] [--max-players N] [--script FILE]\n"
    "                     [--clock virtual|real] [--rcon-port PORT --rcon-password PASSWORD]\n"
    "                     [--no-permissions] [--trace] [--refuse NAME]...";

namespace {

ParsedOptions Bad(std::string why) {
  return {std::nullopt, std::move(why)};
}

}  // namespace

ParsedOptions ParseOptions(const std::vector<std::string>& arguments) {
  Options options;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--help" || option == "-h") {
      options.help = true;
      continue;
    }
    if (option == "--no-permissions") {
      options.no_permissions = true;
      continue;
    }
    if (option == "--trace") {
      options.trace = true;
      continue;
    }
    const bool takes_value = option == "--dir" || option == "--plugin" ||
                             option == "--max-players" || option == "--script" ||
                             option == "--clock" || option == "--rcon-port" ||
                             option == "--rcon-password" || option == "--refuse";
    if (!takes_value) {
      return Bad("unknown option '" + option + "'");
    }
    if (i + 1 >= arguments.size()) {
      return Bad(option + " needs a value");
    }
    const std::string& value = arguments[++i];
    if (option == "--dir") {
      if (value.empty()) {
        return Bad("--dir needs a folder");
      }
      options.dir = value;
    } else if (option == "--plugin") {
      if (value.empty()) {
        return Bad("--plugin needs a file");
      }
      options.plugin = value;
    } else if (option == "--script") {
      if (value.empty()) {
        return Bad("--script needs a file");
      }
      options.script = value;
    } else if (option == "--max-players") {
      const auto count = ParseCount<int32_t>(value, std::numeric_limits<int32_t>::max());
      if (!count) {
        return Bad("--max-players needs a whole number of 0 or more, not '" + value + "'");
      }
      options.max_players = *count;
    } else if (option == "--clock") {
      if (value == "virtual") {
        options.clock = ClockChoice::virtual_time;
      } else if (value == "real") {
        options.clock = ClockChoice::real_time;
      } else {
        return Bad("--clock is virtual or real, not '" + value + "'");
      }
    } else if (option == "--rcon-port") {
      const auto port = ParseCount<uint16_t>(value, std::numeric_limits<uint16_t>::max());
      if (!port) {
        return Bad("--rcon-port needs a port number from 0 to 65535, not '" + value + "'");
      }
      options.rcon_port = *port;
    } else if (option == "--refuse") {
      if (value.empty()) {
        return Bad("--refuse needs a hook target or command name");
      }
      options.refuse.push_back(value);
    } else {
      if (value.empty()) {
        return Bad("--rcon-password needs a password");
      }
      options.rcon_password = value;
    }
  }
  if (options.rcon_port && options.rcon_password.empty()) {
    return Bad("--rcon-port needs --rcon-password");
  }
  if (!options.rcon_port && !options.rcon_password.empty()) {
    return Bad("--rcon-password needs --rcon-port");
  }
  return {options, {}};
}

}  // namespace sim::app
