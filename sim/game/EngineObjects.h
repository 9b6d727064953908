#pragma once

// The game's objects, which the plugin only sees as incomplete types
// (host/EngineTypes.h). Every engine object derives from UObject with single
// inheritance, so an actor's address is its object's address.

#include <cstdint>
#include <functional>
#include <string>

#include "host/EngineTypes.h"

struct UObject {
  virtual ~UObject() = default;
  // The object's slot in the engine's object table (-1: not in the table).
  int32_t InternalIndex = -1;
};

struct UWorld : UObject {};

struct AShooterGameMode : UObject {};

struct AGameSession : UObject {};

// A player's unique net id: its text, UTF-8.
struct FUniqueNetIdRepl {
  std::string id;
};

struct APlayerController : UObject {};

struct AShooterPlayerController : APlayerController {
  FUniqueNetIdRepl unique_id;
};

// One RCON client's connection. The reply function carries each answer back to
// the client: printed by the local client, sent over TCP by the RCON server.
struct RCONClientConnection {
  std::function<void(int32_t request_id, int32_t type, const std::string& body_utf8)> reply;
};
