#pragma once

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

namespace gatehouse {

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
// One JSON record a line in audit.log for each decision and change (see
// config/AuditLog.h).
bool AuditLog();

// Whether config.json is read again, before a join or an operator's command is
// decided, when it changed on disk (config/ReloadOnChange.h).
bool ReloadOnChange();

// Delay before a kick, in whole seconds, as a signed 32-bit value.
int32_t KickTimer();

std::string KickMessage();
std::string BlacklistKickMessage();

// The keys of the three lists, which the list tests also read in advance.
inline constexpr char kWhitelistedGroups[] = "WhitelistedGroups";
inline constexpr char kWhitelistedPlayers[] = "WhitelistedPlayers";
inline constexpr char kBlacklistedGroups[] = "BlacklistedGroups";

// Lists are the member itself, whatever its JSON type, never a copy: valid
// until the next ReadConfig. The list tests walk them and insist on string
// entries.
const nlohmann::json& WhitelistedGroups();
const nlohmann::json& WhitelistedPlayers();
const nlohmann::json& BlacklistedGroups();

}  // namespace Settings

}  // namespace gatehouse
