#include "config/PluginConfig.h"

nlohmann::json& PluginConfig() {
  static nlohmann::json config;
  return config;
}
