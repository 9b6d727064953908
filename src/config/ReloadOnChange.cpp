#include "config/ReloadOnChange.h"

#include <exception>
#include <string>

#include "common/PluginLog.h"
#include "config/AuditLog.h"
#include "config/ConfigReads.h"
#include "config/PluginConfig.h"
#include "config/ReadConfig.h"
#include "config/ReloadCommands.h"
#include "config/Settings.h"
#include "platform/Platform.h"

namespace gatehouse {

namespace {

// Reads the file in its new state and puts its bytes in force when they are
// not those in force already; a failure is recorded and logged as
// Gatehouse.Reload records and logs it.
void ReloadChangedFile(const std::string& path) {
  try {
    const std::string bytes = ReadConfigBytes(path);
    const std::optional<Fingerprint>& in_force = Reads().in_force;
    if (in_force && FingerprintOf(bytes) == *in_force) {
      return;  // touched or rewritten with the same bytes
    }
    InstallConfigBytes(bytes);
    Audit("reload", ReloadRecord("change"));
  } catch (const std::exception& error) {
    RecordFailedRead(error.what());
    LogReadFailure(error);
    Audit("reload", [&] { return ReloadRecord("change", error.what()); });
  }
}

}  // namespace

void ReloadIfChanged() {
  if (!PluginConfig().is_object() || !Settings::ReloadOnChange()) {
    return;
  }
  const std::string path = ConfigPath();
  const Platform::FileState now = Platform::StateOf(path);
  const std::optional<Platform::FileState>& seen = Reads().seen;
  if (seen && *seen == now) {
    return;
  }
  const bool was_there = !seen || seen->exists;
  RecordStateSeen(now);
  if (!now.exists) {
    if (was_there) {
      PluginLog::Get().Error(
          "ReloadOnChange: config.json is missing; the settings in force stay until it is back");
      Audit("reload", ReloadRecord("change", "config.json is missing"));
    }
    return;
  }
  ReloadChangedFile(path);
}

void ReloadIfChangedFor(const char* caller) noexcept {
  try {
    ReloadIfChanged();
  } catch (const std::exception& error) {
    // Only the setting's own read raises: a read of the file is logged above.
    PluginLog::Get().Error("{}: ReloadOnChange: {}", caller, error.what());
  } catch (...) {
    PluginLog::Get().Error("{}: unknown error", caller);
  }
}

}  // namespace gatehouse
