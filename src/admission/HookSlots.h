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
// A part of the plugin's state (plugin/PluginState.h).
struct HookSlots {
  PreLoginFunction* pre_login = nullptr;
  PostLoginFunction* post_login = nullptr;
  AtCapacityFunction* at_capacity = nullptr;
};
HookSlots& TheHookSlots();

inline PreLoginFunction*& PreLoginTrampoline() {
  return TheHookSlots().pre_login;
}
inline PostLoginFunction*& PostLoginTrampoline() {
  return TheHookSlots().post_login;
}
inline AtCapacityFunction*& AtCapacityTrampoline() {
  return TheHookSlots().at_capacity;
}

}  // namespace gatehouse
