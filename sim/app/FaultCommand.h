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

// `fault ...`: brings on a failure of the host, the game or the file system,
// or takes it away again (words[0] is "fault").
//   fault refuse NAME | fault accept NAME      hook target or command name
//   fault alloc fail | fault alloc after N | fault alloc off
//   fault unresolve SIGNATURE | fault resolve SIGNATURE
//   fault permissions missing | fault permissions present
//   fault write block | fault write unblock    a folder where the plugin's new config.json goes
//   fault write limit N | fault write limit off   files cannot grow past N bytes
//   fault folder readonly | fault folder writable   the plugin's folder takes no new files
//   fault config pinned | fault config unpinned     config.json cannot be replaced
void RunFaultCommand(const std::vector<std::string_view>& words, const FaultTargets& targets);

// The forms that follow "fault", one a line, as --help lists them.
extern const char* const kFaultForms;

// Takes away every file-system fault still in place (the simulator's exit).
void ClearFileFaults(const FaultTargets& targets);

}  // namespace sim::app
