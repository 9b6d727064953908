#pragma once

// Every game function of the simulated game: its signature text (what
// AsaApi::GetAddress and the hook service take) and its function type at the
// ABI level. A member function takes its object as the first argument.
//
// Returned objects: a function that returns an FString follows the engine's
// convention for a returned object. The caller passes the result FString as a
// hidden pointer right after the object (starting empty), the function assigns
// the text to it and returns that same pointer:
//
//   FString id;
//   GameFunction<GetUniqueNetIdAsStringFunction>(kGetUniqueNetIdAsString)(controller, &id);
//
// References: a parameter the engine declares as `T&` is `T&` here too, except
// the pre-login's unique id, taken as `FUniqueNetIdRepl*` so that a missing id
// is a null pointer and never a null reference. At the ABI level both are the
// same, so a hook declared with `FUniqueNetIdRepl&` installs on it unchanged.

#include "host/EngineTypes.h"
#include "host/FString.h"

struct FWeakObjectPtr;

namespace sim::game {

// ---- Hookable: the game calls these through the hook table ----------------

// Sets the error message to refuse the join; the game's own asks the game
// session whether the server is at capacity.
inline constexpr const char* kPreLogin =
    "AShooterGameMode.PreLogin(FString&,FString&,FUniqueNetIdRepl&,FString&)";
using PreLoginFunction = void(AShooterGameMode* game_mode, FString& options, FString& address,
                              FUniqueNetIdRepl* unique_id, FString& error_message);

// True when the server is at capacity. The game passes (false, the joining
// player's id text, false, a pointer to an int it ignores).
inline constexpr const char* kAtCapacity = "AGameSession.AtCapacity(bool,FString&,bool,int*)";
using AtCapacityFunction = bool(AGameSession* session, bool spectator, FString& player_id,
                                bool reconnecting, int* free_slots);

// Called once the player is online and has a controller.
inline constexpr const char* kPostLogin = "AShooterGameMode.PostLogin(APlayerController*)";
using PostLoginFunction = void(AShooterGameMode* game_mode, APlayerController* controller);

// ---- Reached through GetAddress ------------------------------------------

inline constexpr const char* kUniqueNetIdToString = "FUniqueNetIdWrapper.ToString()";
using UniqueNetIdToStringFunction = FString*(const FUniqueNetIdRepl* unique_id, FString* result);

inline constexpr const char* kGetUniqueNetIdAsString =
    "AShooterPlayerController.GetUniqueNetIdAsString()";
using GetUniqueNetIdAsStringFunction = FString*(AShooterPlayerController* controller,
                                                FString* result);

// 0 when equal ignoring case (ASCII and Latin-1 letters), else the difference
// of the first differing folded units.
inline constexpr const char* kStricmp = "FGenericPlatformStricmp.Stricmp(wchar_t*,wchar_t*)";
using StricmpFunction = int(const EngineChar* a, const EngineChar* b);

// Prints "kick ID: MESSAGE", takes the player off the server and destroys the
// controller. A controller that is already gone is left alone.
inline constexpr const char* kKickPlayerController =
    "AShooterGameMode.KickPlayerController(APlayerController*,FString&)";
using KickPlayerControllerFunction = void(AShooterGameMode* game_mode,
                                          APlayerController* controller, FString& message);

// Hands the reply to the connection's reply function.
inline constexpr const char* kRconSendMessage =
    "RCONClientConnection.SendMessage(int,int,FString&)";
using RconSendMessageFunction = void(RCONClientConnection* connection, int request_id, int type,
                                     FString& message);

// Prints "message ID [R G B A]: TEXT" (the messaging object's send-message).
inline constexpr const char* kDirectMessage =
    "AShooterPlayerController.ClientServerChatDirectMessage(FString&,FLinearColor,bool)";
using DirectMessageFunction = void(AShooterPlayerController* controller, FString& text,
                                   FLinearColor color, bool from_server);

// Weak references through the engine's object table: index and serial number.
inline constexpr const char* kWeakAssign = "FWeakObjectPtr.operator=(UObject*)";
using WeakAssignFunction = void(FWeakObjectPtr* weak, UObject* object);

inline constexpr const char* kWeakGet = "FWeakObjectPtr.Get()";
using WeakGetFunction = UObject*(const FWeakObjectPtr* weak);

}  // namespace sim::game
