#pragma once

#include <nlohmann/json.hpp>

// The settings document as last read from config.json: JSON null until the
// first successful read. Only ReadConfig writes it; every setting is read from
// it at the moment of use.
nlohmann::json& PluginConfig();
