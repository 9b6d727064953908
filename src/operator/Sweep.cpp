#include "operator/Sweep.h"

#include <exception>
#include <optional>
#include <utility>
#include <vector>

#include "admission/DelayedKick.h"
#include "admission/Explanation.h"
#include "admission/Identifier.h"
#include "admission/JoinDecision.h"
#include "admission/OnlinePlayers.h"
#include "admission/TextConversion.h"
#include "common/Names.h"
#include "config/AuditLog.h"
#include "config/SettingRead.h"

namespace gatehouse {

namespace {

// A player the sweep would kick, with the first check they fail now.
struct Kick {
  AShooterPlayerController* player;
  FString identifier;
  const char* check;
  std::string message;
  int32_t delay;
  std::string reason;
};

struct Plan {
  std::vector<Kick> kicks;
  size_t tracked = 0;
  size_t left_pending = 0;
};

// A tracked player's post-login checks judged as a join would meet them now,
// up to the first one failed; nothing printed or scheduled.
class Judging final : public JoinSteps {
 public:
  explicit Judging(AShooterPlayerController* player) : player_(player) {}

  const FString* Player() override {
    identifier_ = GetIdentifier(player_);
    return &*identifier_;
  }
  void Failed(const FailedCheck& failed) override {
    kick = Kick{player_, failed.identifier, failed.check, failed.message, failed.delay, {}};
  }

  std::optional<Kick> kick;

 private:
  AShooterPlayerController* player_;
  std::optional<FString> identifier_;
};

// Decides every tracked player before anything is scheduled: a setting that
// cannot be read stops the sweep before its first kick.
Plan MakePlan() {
  Plan plan;
  const std::vector<OnlinePlayers::Player> players = Online().Current();
  plan.tracked = players.size();
  for (const OnlinePlayers::Player& player : players) {
    Judging judging(player.controller);
    DecidePostLogin(
        judging, [](const char*, StepOutcome outcome) { return outcome != StepOutcome::failed; });
    if (!judging.kick) {
      continue;
    }
    if (player.kick_pending) {
      ++plan.left_pending;
      continue;
    }
    Kick& kick = *judging.kick;
    kick.reason = std::string(kick.check) == "whitelist" ? std::string("not whitelisted")
                                                         : WhyBlacklisted(kick.identifier);
    plan.kicks.push_back(std::move(kick));
  }
  return plan;
}

std::string Players(size_t count) {
  return std::to_string(count) + (count == 1 ? " player" : " players");
}

// What both answers end with: how many players the sweep looked at, and the
// ones it leaves to the kick they already have.
std::string Tail(const Plan& plan) {
  std::string tail = Players(plan.tracked) + " tracked";
  if (plan.left_pending > 0) {
    tail += ", " + Players(plan.left_pending) + " with a kick pending left to it";
  }
  return tail;
}

std::string SettingError(const std::exception& error) {
  return std::string(SettingInUse()) + ": " + error.what();
}

// The end of a sweep: what it scheduled, as the operator reads it.
std::string SweepDone(const Plan& plan, size_t scheduled) {
  if (scheduled == 0) {
    return "Nobody to kick (" + Tail(plan) + ")";
  }
  return "Scheduled " + std::to_string(scheduled) + (scheduled == 1 ? " kick" : " kicks") + " (" +
         Tail(plan) + ")";
}

// The plan, or the answer of a sweep that could not make one: `failed` and
// `outcome` frame the error.
std::optional<std::string> Planned(Plan& plan, const char* failed, const char* outcome) {
  try {
    plan = MakePlan();
    return std::nullopt;
  } catch (const std::exception& error) {
    return std::string(Names::kSweepCommand) + failed + SettingError(error) + outcome;
  }
}

// A sweep that scheduled kicks, or tried to, leaves one audit record with
// its count and its answer.
std::string Recorded(size_t scheduled, std::string answer) {
  Audit("sweep", {{"count", scheduled}, {"reason", answer}});
  return answer;
}

}  // namespace

std::string SweepPreview() {
  Plan plan;
  if (auto failed = Planned(plan, " preview failed: ", "; nothing changed")) {
    return *failed;
  }
  if (plan.kicks.empty()) {
    return "Nobody would be kicked (" + Tail(plan) + ")";
  }
  std::string text;
  for (const Kick& kick : plan.kicks) {
    text += (text.empty() ? "" : "\n") + std::string("would kick ") +
            ToNarrowString(kick.identifier) + ": " + kick.check + ": " + kick.reason;
  }
  return text + "\n(" + Tail(plan) + ")";
}

std::string SweepNow() {
  Plan plan;
  if (auto failed = Planned(plan, " failed: ", "; nobody kicked")) {
    return *failed;
  }
  size_t scheduled = 0;
  try {
    for (Kick& kick : plan.kicks) {
      AnnounceKick(kick.check, kick.identifier);
      ScheduleKick(kick.player, {kick.check, kick.identifier, kick.message, kick.delay});
      ++scheduled;
    }
  } catch (const std::exception& error) {
    return Recorded(scheduled, std::string(Names::kSweepCommand) + " stopped after " +
                                   std::to_string(scheduled) + " of " +
                                   std::to_string(plan.kicks.size()) +
                                   " kicks: " + SettingError(error));
  }
  return Recorded(scheduled, SweepDone(plan, scheduled));
}

}  // namespace gatehouse
