#pragma once

#include "host/EngineTypes.h"
#include "host/FString.h"

namespace gatehouse {

// A player's Identifier: the text of the unique net id, as the game gives it.

// At pre-login, from the unique id the game passes in (never null here).
FString GetIdentifier(const FUniqueNetIdRepl& unique_id);

// After login, from the player's controller (never null here).
FString GetIdentifier(AShooterPlayerController* controller);

}  // namespace gatehouse
