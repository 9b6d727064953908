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
// prepared form (admission/PreparedLists.h). Permission queries are always
// those of the two walks above on the lists as read, and so are decisions and
// errors while the engine's compare resolves and its allocator grants blocks.
// The prepared player test asks the compare and the allocator only for the
// entries that can equal the Identifier (the walk asks them for every entry of
// the same length), and raises a non-string entry's type error before it asks
// them at all. So when the compare is missing or the allocator fails, it may
// decide, or raise that type error, where the walk would meet the failure; it
// meets the failure only where the walk meets it too. Not calling what the
// decision does not need is sound: the failure is the host's, not the list's.
bool IsWhitelisted(const FString& identifier);

// BlacklistedGroups, the same way. A group test needs of the host what the
// walk of its list needs, entry by entry, so it equals that walk also when the
// host fails.
bool IsBlacklisted(const FString& identifier);

}  // namespace gatehouse
