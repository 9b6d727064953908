#pragma once

#include <optional>
#include <string>

#include "host/EngineTypes.h"

namespace gatehouse {

// Replaces the game's post-login. After the game's own post-login, a player
// who is not whitelisted (while OnlyWhitelisted is on) and a member of a
// blacklisted group (while UseBlacklist is on) each get a kick after KickTimer
// seconds. A configuration or permissions error is logged and ends the
// enforcement for this login; a kick already scheduled stays. Every player
// it sees is remembered for Gatehouse.Sweep (admission/OnlinePlayers.h).
void PostLoginHook(AShooterGameMode* game_mode, APlayerController* controller);

// A post-login check a player fails: the check's name ("whitelist" or
// "blacklist"), the console line of its kick and the setting of its message.
struct FailedCheck {
  const char* check;
  std::string line;
  std::string (*message)();
};

// The first post-login check this player fails now under the settings in
// force (whitelist, then blacklist), or none; nothing is printed or
// scheduled. Throws what a setting read or a list test throws.
std::optional<FailedCheck> FirstFailedCheck(AShooterPlayerController* player);

}  // namespace gatehouse
