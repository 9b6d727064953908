#include "sim/app/Options.h"

#include <algorithm>
#include <iterator>

#include "sim/app/Numbers.h"

namespace sim::app {

const char* const kUsage =
    "usage: gatehouse-sim [--dir DIR] [--plugin FILE] [--max-players N] [--script FILE]\n"
    "                     [--clock virtual|real] [--rcon-port PORT --rcon-password PASSWORD]\n"
    "                     [--no-permissions] [--trace] [--refuse NAME]...";

namespace {

using Why = std::optional<std::string>;

// An option's action: sets its field from the value (switches get none), or
// says why the value is bad.
struct OptionRule {
  const char* name;
  bool takes_value;
  Why (*apply)(Options&, const std::string& value);
};

Why On(bool& flag) {
  flag = true;
  return std::nullopt;
}

Why Text(std::string& field, const std::string& value, const char* option, const char* what) {
  field = value;
  return value.empty() ? Why(std::string(option) + " needs " + what) : std::nullopt;
}

template <class Integer>
Why SetCount(std::optional<Integer>& field, const std::string& value, const char* complaint) {
  field = ParseCount<Integer>(value);
  return field ? std::nullopt : Why(std::string(complaint) + ", not '" + value + "'");
}

const OptionRule kRules[] = {
    {"--help", false, [](Options& o, const std::string&) { return On(o.help); }},
    {"-h", false, [](Options& o, const std::string&) { return On(o.help); }},
    {"--no-permissions", false,
     [](Options& o, const std::string&) { return On(o.no_permissions); }},
    {"--trace", false, [](Options& o, const std::string&) { return On(o.trace); }},
    {"--dir", true,
     [](Options& o, const std::string& v) { return Text(o.dir, v, "--dir", "a folder"); }},
    {"--plugin", true,
     [](Options& o, const std::string& v) { return Text(o.plugin, v, "--plugin", "a file"); }},
    {"--script", true,
     [](Options& o, const std::string& v) { return Text(o.script, v, "--script", "a file"); }},
    {"--rcon-password", true,
     [](Options& o, const std::string& v) {
       return Text(o.rcon_password, v, "--rcon-password", "a password");
     }},
    {"--refuse", true,
     [](Options& o, const std::string& v) {
       return Text(o.refuse.emplace_back(), v, "--refuse", "a hook target or command name");
     }},
    {"--max-players", true,
     [](Options& o, const std::string& v) {
       std::optional<int32_t> count;
       auto why = SetCount(count, v, "--max-players needs a whole number of 0 or more");
       o.max_players = count.value_or(o.max_players);
       return why;
     }},
    {"--rcon-port", true,
     [](Options& o, const std::string& v) {
       return SetCount(o.rcon_port, v, "--rcon-port needs a port number from 0 to 65535");
     }},
    {"--clock", true,
     [](Options& o, const std::string& v) -> Why {
       if (v != "virtual" && v != "real") {
         return "--clock is virtual or real, not '" + v + "'";
       }
       o.clock = v == "virtual" ? ClockChoice::virtual_time : ClockChoice::real_time;
       return std::nullopt;
     }},
};

ParsedOptions Bad(std::string why) {
  return {std::nullopt, std::move(why)};
}

}  // namespace

ParsedOptions ParseOptions(const std::vector<std::string>& arguments) {
  Options options;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    const auto* rule = std::find_if(std::begin(kRules), std::end(kRules),
                                    [&](const OptionRule& r) { return option == r.name; });
    if (rule == std::end(kRules)) {
      return Bad("unknown option '" + option + "'");
    }
    if (rule->takes_value && i + 1 >= arguments.size()) {
      return Bad(option + " needs a value");
    }
    const std::string& value = rule->takes_value ? arguments[++i] : option;
    if (auto why = rule->apply(options, value)) {
      return Bad(std::move(*why));
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
