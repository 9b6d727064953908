#include "admission/JoinDecision.h"

#include <fmt/format.h>

#include "admission/TextConversion.h"
#include "config/Settings.h"
#include "console/ConsolePrint.h"

namespace gatehouse {

void HookSteps::Debug(const char* hook, const FString& identifier) {
  ConsolePrintInfo(fmt::format("[GH] {} Identifier - {}", hook, ToNarrowString(identifier)));
}

namespace {

// A failed check's kick: told first, then its message and delay are read.
StepOutcome Fail(JoinSteps& steps, const char* check, const FString& identifier,
                 std::string (*message_setting)()) {
  steps.Failing(check, identifier);
  std::string message = message_setting();
  const int32_t delay = Settings::KickTimer();
  steps.Failed({check, identifier, std::move(message), delay});
  return StepOutcome::failed;
}

}  // namespace

StepOutcome DecidePreLogin(JoinSteps& steps) {
  steps.LookForChange();
  // Read before the player is asked for, so that a wrong type shows at every
  // pre-login.
  if (!Settings::AllowJoinFullServer()) {
    return StepOutcome::off;
  }
  const FString* const identifier = steps.Player();
  if (identifier == nullptr) {
    return StepOutcome::no_player;
  }
  if (Settings::DebugPreLogin()) {
    steps.Debug("PreLogin", *identifier);
  }
  return steps.Whitelisted(*identifier) ? StepOutcome::passed : StepOutcome::failed;
}

StepOutcome DecideWhitelist(JoinSteps& steps) {
  if (!Settings::OnlyWhitelisted()) {
    return StepOutcome::off;
  }
  const FString* const identifier = steps.Player();
  if (identifier == nullptr) {
    return StepOutcome::no_player;
  }
  if (Settings::DebugPostLogin()) {
    steps.Debug("PostLogin", *identifier);
  }
  if (steps.Whitelisted(*identifier)) {
    return StepOutcome::passed;
  }
  return Fail(steps, "whitelist", *identifier, &Settings::KickMessage);
}

StepOutcome DecideBlacklist(JoinSteps& steps) {
  if (!Settings::UseBlacklist()) {
    return StepOutcome::off;
  }
  const FString* const identifier = steps.Player();
  if (identifier == nullptr) {
    return StepOutcome::no_player;
  }
  if (!steps.Blacklisted(*identifier)) {
    return StepOutcome::passed;
  }
  return Fail(steps, "blacklist", *identifier, &Settings::BlacklistKickMessage);
}

}  // namespace gatehouse
