#pragma once

#include "host/EngineTypes.h"
#include "host/FString.h"

namespace gatehouse {

// Whitelisted players may join a full server: their pre-login arms a bypass
// that answers the next two capacity checks with "not at capacity". The flags
// belong to no player; only the pre-login hook and the capacity hook touch
// them. A part of the plugin's state (plugin/PluginState.h).
struct CapacityBypass {
  bool IgnoreCapacity = false;       // the next check reports free room
  bool IgnoreCapacityAgain = false;  // and the one after it
};

CapacityBypass& Bypass();

// Replaces the game's capacity check (true: at capacity): an armed bypass
// answers "room" and is spent; otherwise the game answers.
bool AtCapacityHook(AGameSession* session, bool first_flag, FString& text, bool second_flag,
                    int* number);

}  // namespace gatehouse
