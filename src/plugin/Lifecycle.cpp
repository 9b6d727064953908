#include "plugin/Lifecycle.h"

#include <exception>
#include <string>

#include "admission/AtCapacityHook.h"
#include "admission/HookSlots.h"
#include "admission/PostLoginHook.h"
#include "admission/PreLoginHook.h"
#include "common/LibraryPath.h"
#include "common/Names.h"
#include "common/PluginLog.h"
#include "config/ReadConfig.h"
#include "config/ReloadCommands.h"
#include "console/ConsolePrint.h"
#include "host/Commands.h"
#include "host/Hooks.h"
#include "operator/OperatorCommands.h"
#include "plugin/PluginState.h"

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

void AddRconCommand(const char* name,
                    void (*handler)(RCONClientConnection*, RCONPacket*, UWorld*)) {
  Register(std::string("RCON command ") + name, [&] {
    AsaApi::GetCommands().AddRconCommand(FString(name), RconCommandCallback(handler));
    return true;
  });
}

// The operator's commands beyond the reload are RCON commands only: RCON is
// password-protected, while who may use a player's console is the game's
// business.
constexpr struct {
  const char* name;
  void (*handler)(RCONClientConnection*, RCONPacket*, UWorld*);
} kOperatorCommands[] = {
    {Names::kExplainCommand, &RconExplain}, {Names::kStatusCommand, &RconStatus},
    {Names::kAddCommand, &RconAdd},         {Names::kRemoveCommand, &RconRemove},
    {Names::kSweepCommand, &RconSweep},
};

void AddCommands() {
  AddRconCommand(Names::kReloadCommand, &RconReload);
  Register(std::string("console command ") + Names::kReloadCommand, [] {
    AsaApi::GetCommands().AddConsoleCommand(FString(Names::kReloadCommand),
                                            ConsoleCommandCallback(&ConsoleReload));
    return true;
  });
  for (const auto& command : kOperatorCommands) {
    AddRconCommand(command.name, command.handler);
  }
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

// Runs a step of the start or the stop (`stage`: "Load" or "Unload"); what it
// throws is logged under the stage's name and goes no further.
template <class Step>
void Attempt(const char* stage, Step step) noexcept {
  try {
    step();
  } catch (const std::exception& error) {
    PluginLog::Get().Error("{}: {}", stage, error.what());
  } catch (...) {
    PluginLog::Get().Error("{}: unknown error", stage);
  }
}

}  // namespace

void Load() noexcept {
  Attempt("Load", [] {
    StartPluginState();
    LibraryPath::Resolve();
    PluginLog::Get().Init(Names::kPlugin);
    if (!TryReadConfig()) {
      return;
    }
    SetupConsoleLogger();
    AddCommands();
    InstallHooks();
  });
}

void Unload() noexcept {
  Attempt("Unload",
          [] { AsaApi::GetCommands().RemoveRconCommand(FString(Names::kReloadCommand)); });
  Attempt("Unload",
          [] { AsaApi::GetCommands().RemoveConsoleCommand(FString(Names::kReloadCommand)); });
  for (const auto& command : kOperatorCommands) {
    Attempt("Unload", [&] { AsaApi::GetCommands().RemoveRconCommand(FString(command.name)); });
  }
  Attempt("Unload", [] { DisableHook(Names::kPreLoginTarget, &PreLoginHook); });
  Attempt("Unload", [] { DisableHook(Names::kPostLoginTarget, &PostLoginHook); });
  Attempt("Unload", [] { DisableHook(Names::kAtCapacityTarget, &AtCapacityHook); });
  EndPluginState();
}

}  // namespace gatehouse
