#include "plugin/Lifecycle.h"

#include <exception>

#include "admission/CapacityBypass.h"
#include "admission/HookSlots.h"
#include "admission/PostLoginHook.h"
#include "config/ReadConfig.h"
#include "config/ReloadCommands.h"
#include "console/ConsolePrint.h"
#include "host/Commands.h"
#include "host/Hooks.h"
#include "plugin/LibraryPath.h"
#include "plugin/Names.h"
#include "plugin/PluginLog.h"

namespace {

bool TryReadConfig() {
  try {
    ReadConfig();
    return true;
  } catch (const std::exception& error) {
    LogReadFailure(error);
    return false;
  }
}

void AddCommands() {
  AsaApi::ICommands& commands = AsaApi::GetCommands();
  commands.AddRconCommand(FString(Names::kReloadCommand), RconCommandCallback(&RconReload));
  commands.AddConsoleCommand(FString(Names::kReloadCommand),
                             ConsoleCommandCallback(&ConsoleReload));
}

void InstallHooks() {
  SetHook(Names::kPreLoginTarget, &PreLoginHook, &PreLoginTrampoline());
  SetHook(Names::kPostLoginTarget, &PostLoginHook, &PostLoginTrampoline());
  SetHook(Names::kAtCapacityTarget, &AtCapacityHook, &AtCapacityTrampoline());
}

// Runs one step of the stop; a step the host cannot carry out is logged and
// the next one still runs.
template <class Step>
void Attempt(Step step) noexcept {
  try {
    step();
  } catch (const std::exception& error) {
    PluginLog::Get().Error("Unload: {}", error.what());
  } catch (...) {
    PluginLog::Get().Error("Unload: unknown error");
  }
}

}  // namespace

void Load() noexcept {
  try {
    LibraryPath::Resolve();
    PluginLog::Get().Init(Names::kPlugin);
    if (!TryReadConfig()) {
      return;
    }
    SetupConsoleLogger();
    AddCommands();
    InstallHooks();
  } catch (const std::exception& error) {
    PluginLog::Get().Error("Load: {}", error.what());
  } catch (...) {
    PluginLog::Get().Error("Load: unknown error");
  }
}

void Unload() noexcept {
  Attempt([] { AsaApi::GetCommands().RemoveRconCommand(FString(Names::kReloadCommand)); });
  Attempt([] { AsaApi::GetCommands().RemoveConsoleCommand(FString(Names::kReloadCommand)); });
  Attempt([] { DisableHook(Names::kPreLoginTarget, &PreLoginHook); });
  Attempt([] { DisableHook(Names::kPostLoginTarget, &PostLoginHook); });
  Attempt([] { DisableHook(Names::kAtCapacityTarget, &AtCapacityHook); });
}
