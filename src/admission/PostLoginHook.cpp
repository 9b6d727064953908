#include "admission/PostLoginHook.h"

#include <exception>

#include <fmt/format.h>

#include "admission/DelayedKick.h"
#include "admission/HookFailure.h"
#include "admission/HookSlots.h"
#include "admission/Identifier.h"
#include "admission/ListMembership.h"
#include "admission/TextConversion.h"
#include "config/Settings.h"
#include "console/ConsolePrint.h"

namespace gatehouse {

namespace {

void EnforceWhitelist(AShooterPlayerController* player) {
  if (!Settings::OnlyWhitelisted() || player == nullptr) {
    return;
  }
  const FString identifier = GetIdentifier(player);
  if (Settings::DebugPostLogin()) {
    ConsolePrintInfo(fmt::format("[GH] PostLogin Identifier - {}", ToNarrowString(identifier)));
  }
  if (IsWhitelisted(identifier)) {
    return;
  }
  ScheduleKick(player, fmt::format("[GH][kick] Not whitelisted - {}", ToNarrowString(identifier)),
               &Settings::KickMessage);
}

void EnforceBlacklist(AShooterPlayerController* player) {
  if (!Settings::UseBlacklist() || player == nullptr) {
    return;
  }
  const FString identifier = GetIdentifier(player);
  if (!IsBlacklisted(identifier)) {
    return;
  }
  ScheduleKick(player, fmt::format("[GH][kick] Blacklisted - {}", ToNarrowString(identifier)),
               &Settings::BlacklistKickMessage);
}

}  // namespace

void PostLoginHook(AShooterGameMode* game_mode, APlayerController* controller) {
  PostLoginTrampoline()(game_mode, controller);
  // The game hands a player controller; the game's controllers are all of the
  // shooter kind.
  auto* const player = reinterpret_cast<AShooterPlayerController*>(controller);
  try {
    EnforceWhitelist(player);
    EnforceBlacklist(player);
  } catch (const std::exception& error) {
    LogHookFailure("PostLoginHook", error);
  } catch (...) {
    LogHookFailure("PostLoginHook");
  }
}

}  // namespace gatehouse
