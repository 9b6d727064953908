#pragma once

#include "host/EngineTypes.h"

namespace gatehouse {

// Replaces the game's post-login. After the game's own post-login, a player
// who is not whitelisted (while OnlyWhitelisted is on) and a member of a
// blacklisted group (while UseBlacklist is on) each get a kick after KickTimer
// seconds. A configuration or permissions error is logged and ends the
// enforcement for this login; a kick already scheduled stays. Every player
// it sees is remembered for Gatehouse.Sweep (admission/OnlinePlayers.h).
void PostLoginHook(AShooterGameMode* game_mode, APlayerController* controller);

}  // namespace gatehouse
