#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "admission/JoinDecision.h"
#include "host/EngineTypes.h"
#include "host/FString.h"
#include "host/WeakObjectPtr.h"

namespace gatehouse {

// Kicks the player of this controller through the running game mode with this
// message; does nothing while no game mode is present.
void KickPlayer(AShooterPlayerController* controller, FString message);

// One scheduled kick, held by the host timer until its delay has passed. It
// keeps the message it was given and a weak reference to the controller: a
// player who left, or was kicked already, is not touched again, and a player
// who rejoined has a new controller that this kick does not reach.
class PendingKick {
 public:
  // `audit` names the player and why, for the "kicked" or "kick-dropped"
  // record when the kick runs; null, no record.
  PendingKick(AShooterPlayerController* controller, FString message,
              nlohmann::json audit = nullptr);

  void operator()() const;

  const FWeakObjectPtr& Controller() const { return controller_; }

 private:
  void Recorded(const char* event) const noexcept;

  FWeakObjectPtr controller_;
  FString message_;
  nlohmann::json audit_;
};

// Prints the kick line of a failed check ("whitelist" or "blacklist") in
// yellow.
void AnnounceKick(const char* check, const FString& identifier);

// Hands the host timer a PendingKick with the check's message and delay as
// they were read. The kick counts as pending for the player
// (admission/OnlinePlayers.h) until it has run. With AuditLog on, records
// "kick-scheduled".
void ScheduleKick(AShooterPlayerController* controller, const FailedCheck& failed);

}  // namespace gatehouse
