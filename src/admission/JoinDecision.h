#pragma once

#include <cstdint>
#include <string>

#include "admission/ListMembership.h"
#include "host/FString.h"

namespace gatehouse {

// The decisions a join meets, written once, in the order the hooks read their
// settings. The pre-login and post-login hooks walk them to act,
// Gatehouse.Explain to tell what a join would meet, Gatehouse.Sweep to find
// who fails a check now, and the operator's check to learn which settings a
// join can reach. What differs between these users is a JoinSteps: how the
// player is known, what a debug setting or a failed check does, and what the
// list tests answer. A setting read or list test that throws ends the walk
// there, as it ends the hook's work for that login.

// A post-login check the player fails, with its kick as read when it failed;
// it lives for the call it is handed to.
struct FailedCheck {
  const char* check;  // "whitelist" or "blacklist"
  const FString& identifier;
  std::string message;  // KickMessage or BlacklistKickMessage, UTF-8
  int32_t delay;        // KickTimer, seconds
};

class JoinSteps {
 public:
  virtual ~JoinSteps() = default;

  // The pre-login's look for a changed config.json, before its decision.
  virtual void LookForChange() {}
  // The joining player's Identifier, asked once a step needs it and kept by
  // the steps; null when the game gave no player, which ends that step.
  virtual const FString* Player() = 0;
  // DebugPreLogin or DebugPostLogin is on ("PreLogin", "PostLogin").
  virtual void Debug(const char* /*hook*/, const FString& /*identifier*/) {}
  virtual bool Whitelisted(const FString& identifier) { return IsWhitelisted(identifier); }
  virtual bool Blacklisted(const FString& identifier) { return IsBlacklisted(identifier); }
  // A check failed; told before its kick's message and delay are read.
  virtual void Failing(const char* /*check*/, const FString& /*identifier*/) {}
  // The same check with its kick read.
  virtual void Failed(const FailedCheck& /*failed*/) {}
};

// The steps of a hook the game calls: the debug line goes to the console as
// "[GH] HOOK Identifier - ID".
class HookSteps : public JoinSteps {
 public:
  void Debug(const char* hook, const FString& identifier) override;
};

// How a step ended.
enum class StepOutcome {
  off,        // its setting is off
  no_player,  // the game gave no player
  passed,     // the bypass is granted; the player keeps their place
  failed,     // no bypass: not whitelisted; or a check failed (told by Failed)
};

// The pre-login: the look for a changed file, then the capacity bypass
// (AllowJoinFullServer, DebugPreLogin, the whitelist test).
StepOutcome DecidePreLogin(JoinSteps& steps);

// The post-login's checks: the whitelist (OnlyWhitelisted, DebugPostLogin,
// the whitelist test and, for a player who fails it, KickMessage then
// KickTimer) and the blacklist (UseBlacklist, the blacklist test and, for a
// member, BlacklistKickMessage then KickTimer).
StepOutcome DecideWhitelist(JoinSteps& steps);
StepOutcome DecideBlacklist(JoinSteps& steps);

// The post-login: the whitelist check, then the blacklist check, each told to
// `done(check, outcome)` as it ends; the blacklist check follows only when
// that answers true.
template <class Done>
void DecidePostLogin(JoinSteps& steps, Done done) {
  if (done("whitelist", DecideWhitelist(steps))) {
    done("blacklist", DecideBlacklist(steps));
  }
}

}  // namespace gatehouse
