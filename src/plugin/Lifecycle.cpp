#include "plugin/Lifecycle.h"

#include <exception>
#include <string>

#include "admission/CapacityBypass.h"
#include "admission/HookSlots.h"
#include "admission/PostLoginHook.h"
#include "common/LibraryPath.h"
#include "common/Names.h"
#include "common/PluginLog.h"
#include "common/ProcessState.h"
#include "config/ReadConfig.h"
#include "config/ReloadCommands.h"
#include "console/ConsolePrint.h"
#include "host/Commands.h"
#include "host/Hooks.h"

namespace gatehouse {

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

// One registration with the host. A refusal (a false answer, or an exception
// from a host whose registration answers nothing) leaves the plugin without
// that part: the record names it, and the other registrations still go ahead.
template <class Step>
void Register(const std::string& what, Step step) noexcept {
  try {
    if (!step()) {
      PluginLog::Get().Error("Load: the host refused the {}", what);
    }
  } catch (const std::exception& error) {
    PluginLog::Get().Error("Load: cannot register the {}: {}", what, error.what());
  } catch (...) {
    PluginLog::Get().Error("Load: cannot register the {}", what);
  }
}

void AddCommands() {
  const std::string name = Names::kReloadCommand;
  Register("RCON command " + name, [] {
    AsaApi::GetCommands().AddRconCommand(FString(Names::kReloadCommand),
                                         RconCommandCallback(&RconReload));
    return true;
  });
  Register("console command " + name, [] {
    AsaApi::GetCommands().AddConsoleCommand(FString(Names::kReloadCommand),
                                            ConsoleCommandCallback(&ConsoleReload));
    return true;
  });
}

template <class Function>
void InstallHook(const char* target, Function* hook, Function** original) {
  Register(std::string("hook ") + target, [&] { return SetHook(target, hook, original); });
}

void InstallHooks() {
  InstallHook(Names::kPreLoginTarget, &PreLoginHook, &PreLoginTrampoline());
  InstallHook(Names::kPostLoginTarget, &PostLoginHook, &PostLoginTrampoline());
  InstallHook(Names::kAtCapacityTarget, &AtCapacityHook, &AtCapacityTrampoline());
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
  ProcessState::Release();
}

}  // namespace gatehouse
