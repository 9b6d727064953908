#include "config/PluginConfig.h"

#include <utility>

namespace gatehouse {

const nlohmann::json& PluginConfig() {
  return Installed().document;
}

uint64_t PluginConfigGeneration() {
  return Installed().generation;
}

void InstallPluginConfig(nlohmann::json&& document) noexcept {
  InstalledConfig& installed = Installed();
  // The library's move and its teardown of the old document walk no depth:
  // a document nested however deep is replaced without recursion.
  installed.document = std::move(document);
  ++installed.generation;
}

}  // namespace gatehouse
