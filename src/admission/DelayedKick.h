#pragma once

#include <string>

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
  PendingKick(AShooterPlayerController* controller, FString message);

  void operator()() const;

  const FWeakObjectPtr& Controller() const { return controller_; }

 private:
  FWeakObjectPtr controller_;
  FString message_;
};

// Prints the kick line in yellow, then hands the host timer a PendingKick with
// the message read now (UTF-8, through the given setting) and the current
// KickTimer delay, unchanged. The kick counts as pending for the player
// (admission/OnlinePlayers.h) until it has run.
void ScheduleKick(AShooterPlayerController* controller, std::string line,
                  std::string (*message_setting)());

}  // namespace gatehouse
