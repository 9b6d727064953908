#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sim::app {

// What `fault` acts on besides the host: the permissions library that
// `present` makes available again, and the plugin's config.json.
struct FaultTargets {
  std::string permissions_path;
  std::string config_path;
};

// `fault ...` (words[0] is "fault", then one of the forms of kFaultForms):
// brings on a failure of the host, the game or the file system, or takes it
// away again.
void RunFaultCommand(const std::vector<std::string_view>& words, const FaultTargets& targets);

// The forms that follow "fault", one a line, as --help lists them.
extern const char* const kFaultForms;

// Takes away every file-system fault still in place (the simulator's exit).
void ClearFileFaults(const FaultTargets& targets);

}  // namespace sim::app
