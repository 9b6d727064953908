#pragma once

#include "host/EngineTypes.h"
#include "host/FString.h"

namespace gatehouse {

// The game functions the plugin hooks, as the host calls them: a member
// function takes its object first. The pre-login's unique id arrives as a
// pointer, since the game can pass none.
using PreLoginFunction = void(AShooterGameMode*, FString&, FString&, FUniqueNetIdRepl*, FString&);
using PostLoginFunction = void(AShooterGameMode*, APlayerController*);
using AtCapacityFunction = bool(AGameSession*, bool, FString&, bool, int*);

// Call-through slots: empty until the host installs the matching hook, then the
// entry to the function the game called before (its own, or an earlier hook).
PreLoginFunction*& PreLoginTrampoline();
PostLoginFunction*& PostLoginTrampoline();
AtCapacityFunction*& AtCapacityTrampoline();

}  // namespace gatehouse
