#pragma once

#include <nlohmann/json.hpp>

#include "host/FString.h"

namespace gatehouse {

// List tests on an Identifier. A list is walked in its own iteration order
// (array elements; object member values by name; null: nothing; any other
// single value: itself) and every entry is visited, also after a match, so a
// non-string entry anywhere raises the JSON library's type error 302.

// The direct walks of a list, the reference for the prepared lists that the
// whitelist and blacklist tests use.

// True when the permissions plugin places the player in at least one group;
// exactly one query per entry, in list order.
bool IsInAnyGroup(const FString& identifier, const nlohmann::json& groups);

// True when at least one entry equals the Identifier, ignoring case.
bool IsListedPlayer(const FString& identifier, const nlohmann::json& players);

// WhitelistedGroups, then WhitelistedPlayers, both tested in full, from their
// prepared form (admission/PreparedLists.h); decisions, permission queries and
// errors are those of the two walks above on the lists as read.
bool IsWhitelisted(const FString& identifier);

// BlacklistedGroups, the same way.
bool IsBlacklisted(const FString& identifier);

}  // namespace gatehouse
