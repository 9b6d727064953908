#pragma once

#include <memory>
#include <string>

#include "admission/AtCapacityHook.h"
#include "admission/HookSlots.h"
#include "admission/OnlinePlayers.h"
#include "admission/PreparedLists.h"
#include "common/PluginLog.h"
#include "config/AuditLog.h"
#include "config/ConfigReads.h"
#include "config/PluginConfig.h"
#include "console/ConsolePrint.h"

namespace gatehouse {

// What the plugin keeps from one call of the host to the next. Its members are
// declared in the order they must end, the newest last: C++ ends them the
// other way round, so a part ends before every part declared above it (the
// prepared lists, which point into the settings document, before that
// document; every part before the log channel it may report on).
//
// Load makes it, Unload ends it as its last step: an unloaded plugin leaves
// nothing behind, whether its library then leaves the process (the host's
// unload) or stays in it (a test that loads, unloads and loads again). Code of
// the plugin run without Load (gatehouse-sim's check, the unit tests) makes it
// whole at its first use. Each folder reaches its own part through the
// function declared beside the part's type (PluginLog::Get, Installed,
// Bypass, ...), all defined with the state in PluginState.cpp.
//
// Everything here runs on the game thread, as every call of the host does.
struct PluginState {
  std::string library_path;
  PluginLog log;
  InstalledConfig config;
  ConfigReads reads;
  AuditChannel audit;
  ConsoleLogger console;
  HookSlots hook_slots;
  CurrentPreparedLists prepared_lists;
  CapacityBypass bypass;
  OnlinePlayers online;
  std::shared_ptr<void> permissions_binding;
};

// Makes the state unless there is one; Load's first step.
void StartPluginState();

// Ends the state, its newest part first; Unload's last step. The next use
// starts afresh.
void EndPluginState() noexcept;

}  // namespace gatehouse
