#pragma once

#include <cstddef>
#include <vector>

#include "host/EngineTypes.h"
#include "host/WeakObjectPtr.h"

namespace gatehouse {

// The players the plugin saw at post-login, each by weak reference to its
// controller, as a delayed kick holds it: a player who left or was kicked is
// forgotten at the next look, and a player who rejoined is a new entry.
// Players who logged in before the plugin was loaded are not known to it.
// Each entry also counts the kicks scheduled for it that have not run yet.
class OnlinePlayers {
 public:
  struct Player {
    AShooterPlayerController* controller;
    bool kick_pending;
  };

  // At post-login: remembers this player (once).
  void Track(AShooterPlayerController* controller);

  // A kick was handed to the timer for this controller, or has run.
  void KickScheduled(const FWeakObjectPtr& controller);
  void KickRan(const FWeakObjectPtr& controller);

  // The players still online, in the order they logged in; the ones gone
  // are forgotten now.
  std::vector<Player> Current();

  size_t Count() { return Current().size(); }

 private:
  struct Entry {
    FWeakObjectPtr controller;
    int pending_kicks = 0;
  };

  Entry* Find(const FWeakObjectPtr& controller);
  void ForgetGone();

  std::vector<Entry> entries_;
};

// The players tracked: a part of the plugin's state (plugin/PluginState.h).
OnlinePlayers& Online();

}  // namespace gatehouse
