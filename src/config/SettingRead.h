#pragma once

#include <nlohmann/json.hpp>

#include "config/PluginConfig.h"

// One setting out of PluginConfig, or the default when the key is absent. The
// JSON library raises its type errors here: 306 when the document is not an
// object, 302 when the member does not convert to T.
template <class T>
T ReadSetting(const char* key, const T& default_value) {
  return PluginConfig().value(key, default_value);
}
