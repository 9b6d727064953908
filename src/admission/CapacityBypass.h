#pragma once

#include "host/EngineTypes.h"
#include "host/FString.h"

namespace gatehouse {

// Whitelisted players may join a full server: their pre-login arms a bypass
// that answers the next two capacity checks with "not at capacity". The flags
// belong to no player; only the two hooks below touch them.
struct CapacityBypass {
  bool IgnoreCapacity = false;       // the next check reports free room
  bool IgnoreCapacityAgain = false;  // and the one after it
};

CapacityBypass& Bypass();

// Replaces the game's pre-login. Never refuses anyone and changes no argument:
// the game's own pre-login always runs, after the bypass is armed; when it
// does not admit the player (it sets its error message, or it throws, and what
// it throws passes on unchanged), the bypass goes back to what it was before
// this pre-login armed it. A configuration or permissions error is logged and
// leaves the bypass as it was.
void PreLoginHook(AShooterGameMode* game_mode, FString& options, FString& address,
                  FUniqueNetIdRepl* unique_id, FString& error_message);

// Replaces the game's capacity check (true: at capacity).
bool AtCapacityHook(AGameSession* session, bool first_flag, FString& text, bool second_flag,
                    int* number);

}  // namespace gatehouse
