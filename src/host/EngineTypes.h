#pragma once

#include <cstdint>

#include "host/FString.h"

// Engine and game objects the plugin only passes around. Their layouts belong to
// the game; the plugin never looks inside them, so they stay incomplete here.
struct UObject;
struct UWorld;
struct APlayerController;
struct AShooterPlayerController;
struct AShooterGameMode;
struct AGameSession;
struct FUniqueNetIdRepl;
struct RCONClientConnection;

// An RCON request as the host hands it to an RCON command.
struct RCONPacket {
  int32_t Length = 0;
  int32_t Id = 0;
  int32_t Type = 0;
  FString Body;
};

struct FLinearColor {
  float R = 0;
  float G = 0;
  float B = 0;
  float A = 0;
};

// Engine objects derive from UObject with single inheritance, so an actor's
// address is its object's address.
template <class T>
UObject* AsObject(T* actor) {
  return reinterpret_cast<UObject*>(actor);
}
