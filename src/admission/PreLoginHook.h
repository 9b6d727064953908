#pragma once

#include "host/EngineTypes.h"
#include "host/FString.h"

namespace gatehouse {

// Replaces the game's pre-login. Never refuses anyone and changes no argument:
// the game's own pre-login always runs, after the capacity bypass
// (admission/AtCapacityHook.h) is armed for a whitelisted player; when it does
// not admit the player (it sets its error message, or it throws, and what it
// throws passes on unchanged), the bypass goes back to what it was before this
// pre-login armed it. A configuration or permissions error is logged and
// leaves the bypass as it was.
void PreLoginHook(AShooterGameMode* game_mode, FString& options, FString& address,
                  FUniqueNetIdRepl* unique_id, FString& error_message);

}  // namespace gatehouse
