#pragma once

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

// The plugin's settings, each read from PluginConfig at the moment of the call
// with its own key and default, so that a reload takes effect at the next
// event. Each read raises the JSON library's type error for a value of the
// wrong type or a document that is not an object.
namespace Settings {

bool OnlyWhitelisted();
bool DebugPostLogin();
bool UseBlacklist();
bool AllowJoinFullServer();
bool DebugPreLogin();

// Delay before a kick, in whole seconds, as a signed 32-bit value.
int32_t KickTimer();

std::string KickMessage();
std::string BlacklistKickMessage();

// Lists are copies of the member, whatever its JSON type; the list tests walk
// them and insist on string entries.
nlohmann::json WhitelistedGroups();
nlohmann::json WhitelistedPlayers();
nlohmann::json BlacklistedGroups();

}  // namespace Settings
