#include "admission/HookFailure.h"

#include <nlohmann/json.hpp>

#include "common/PluginLog.h"
#include "config/SettingRead.h"

namespace gatehouse {

void LogHookFailure(const char* hook, const std::exception& error) noexcept {
  // The JSON library raises only inside setting reads and the list walks, each
  // of which names its key before it can raise.
  if (dynamic_cast<const nlohmann::json::exception*>(&error) != nullptr) {
    PluginLog::Get().Error("{}: {}: {}", hook, SettingInUse(), error.what());
    return;
  }
  PluginLog::Get().Error("{}: {}", hook, error.what());
}

void LogHookFailure(const char* hook) noexcept {
  PluginLog::Get().Error("{}: unknown error", hook);
}

}  // namespace gatehouse
