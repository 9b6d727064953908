#pragma once

#include <cstdint>

#include <nlohmann/json.hpp>

namespace gatehouse {

// The settings document as last read from config.json: JSON null until the
// first successful read. Only ReadConfig replaces it; every setting is read
// from it at the moment of use.
const nlohmann::json& PluginConfig();

// How many documents ReadConfig has installed. Whatever is derived from
// PluginConfig stays current while this number has not changed.
uint64_t PluginConfigGeneration();

// Puts a freshly read document in force in place of the one before, which is
// let go; ReadConfig's last step, and the only write to PluginConfig.
void InstallPluginConfig(nlohmann::json&& document) noexcept;

// The document in force and its generation: a part of the plugin's state
// (plugin/PluginState.h), which keeps it older than anything pointing into it.
struct InstalledConfig {
  nlohmann::json document;
  uint64_t generation = 0;
};
InstalledConfig& Installed();

}  // namespace gatehouse
