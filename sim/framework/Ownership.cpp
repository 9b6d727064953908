// What a plugin library left registered when it was unloaded.

#include <string>

#include "sim/framework/Internal.h"
#include "sim/framework/SimHost.h"

namespace sim {

void SetLoadingLibrary(const std::string& library_path) {
  SetHooksOwner(library_path);
  SetCommandsOwner(library_path);
}

bool HasRegistrations(const std::string& library_path) {
  return !library_path.empty() && (HasHooksOf(library_path) || HasCommandsOf(library_path));
}

LeftBehind RemoveLeftoversOf(const std::string& library_path) {
  LeftBehind left;
  if (library_path.empty()) {
    return left;
  }
  RemoveLeftoverCommands(library_path, left.console_commands, left.rcon_commands);
  left.hooks = RemoveLeftoverHooks(library_path);
  return left;
}

}  // namespace sim
