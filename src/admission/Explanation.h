#pragma once

#include <string>
#include <vector>

#include "host/FString.h"

namespace gatehouse {

// What the plugin would decide for a player with this Identifier joining now,
// from the settings in force, the player's current groups and the hooks the
// host installed: one line for the pre-login, then one for each post-login
// step (or one saying the post-login hook is missing), each naming the
// entries that matched. It decides with the hooks' own setting reads and list
// tests, in their order, so it cannot disagree with them; a failure a hook
// would meet is named with its text. Nothing is armed, scheduled, printed or
// logged; the permissions plugin is asked as a join asks it.
//
//   for (const std::string& line : ExplainJoin(identifier)) ...
//   // "pre-login: no capacity bypass: not whitelisted"
//   // "post-login: whitelist: kicked after 5 seconds with \"...\": not whitelisted"
std::vector<std::string> ExplainJoin(const FString& identifier);

// The blacklisted groups this player is in, each named with its list, as the
// explanation names them: "in group \"Cheaters\" (BlacklistedGroups)".
std::string WhyBlacklisted(const FString& identifier);

}  // namespace gatehouse
