#include "plugin/PluginState.h"

#include <utility>

#include "common/LibraryPath.h"
#include "common/StandInPart.h"

namespace gatehouse {

namespace {

// A plain pointer with no destructor: the state lives until EndPluginState,
// and what a process never ended stays reachable to its end, where the
// library's static destructors must not run the parts' own.
PluginState* the_state = nullptr;

PluginState& State() {
  StartPluginState();
  return *the_state;
}

}  // namespace

void StartPluginState() {
  if (the_state == nullptr) {
    the_state = new PluginState();
  }
}

void EndPluginState() noexcept {
  // Cleared before the parts end, so nothing they run can reach a state that
  // is half gone.
  delete std::exchange(the_state, nullptr);
}

std::string& LibraryPath::Stored() {
  return State().library_path;
}
PluginLog& PluginLog::Get() {
  return State().log;
}
InstalledConfig& Installed() {
  return State().config;
}
ConfigReads& StoredReads() {
  return State().reads;
}
AuditChannel& TheAuditChannel() {
  return State().audit;
}
ConsoleLogger& TheConsoleLogger() {
  return State().console;
}
HookSlots& TheHookSlots() {
  return State().hook_slots;
}
CurrentPreparedLists& ThePreparedLists() {
  return State().prepared_lists;
}
CapacityBypass& Bypass() {
  return State().bypass;
}
OnlinePlayers& Online() {
  return State().online;
}
std::shared_ptr<void>& PermissionsBindingPart() {
  return State().permissions_binding;
}

}  // namespace gatehouse
