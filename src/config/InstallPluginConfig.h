#pragma once

#include <nlohmann/json.hpp>

namespace gatehouse {

// Puts a freshly read document in force in place of the one before, which is
// let go; ReadConfig's last step, and the only write to PluginConfig.
void InstallPluginConfig(nlohmann::json&& document) noexcept;

}  // namespace gatehouse
