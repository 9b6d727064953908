#include "admission/PostLoginHook.h"

#include <exception>
#include <utility>

#include <fmt/format.h>

#include "admission/DelayedKick.h"
#include "admission/HookFailure.h"
#include "admission/HookSlots.h"
#include "admission/Identifier.h"
#include "admission/ListMembership.h"
#include "admission/OnlinePlayers.h"
#include "admission/TextConversion.h"
#include "config/Settings.h"
#include "console/ConsolePrint.h"

namespace gatehouse {

namespace {

FailedCheck NotWhitelisted(const FString& identifier) {
  return {"whitelist", fmt::format("[GH][kick] Not whitelisted - {}", ToNarrowString(identifier)),
          &Settings::KickMessage};
}

FailedCheck Blacklisted(const FString& identifier) {
  return {"blacklist", fmt::format("[GH][kick] Blacklisted - {}", ToNarrowString(identifier)),
          &Settings::BlacklistKickMessage};
}

void Schedule(AShooterPlayerController* player, FailedCheck failed) {
  ScheduleKick(player, std::move(failed.line), failed.message);
}

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
  Schedule(player, NotWhitelisted(identifier));
}

void EnforceBlacklist(AShooterPlayerController* player) {
  if (!Settings::UseBlacklist() || player == nullptr) {
    return;
  }
  const FString identifier = GetIdentifier(player);
  if (!IsBlacklisted(identifier)) {
    return;
  }
  Schedule(player, Blacklisted(identifier));
}

}  // namespace

void PostLoginHook(AShooterGameMode* game_mode, APlayerController* controller) {
  PostLoginTrampoline()(game_mode, controller);
  // The game hands a player controller; the game's controllers are all of the
  // shooter kind.
  auto* const player = reinterpret_cast<AShooterPlayerController*>(controller);
  try {
    if (player != nullptr) {
      Online().Track(player);
    }
    EnforceWhitelist(player);
    EnforceBlacklist(player);
  } catch (const std::exception& error) {
    LogHookFailure("PostLoginHook", error);
  } catch (...) {
    LogHookFailure("PostLoginHook");
  }
}

std::optional<FailedCheck> FirstFailedCheck(AShooterPlayerController* player) {
  const FString identifier = GetIdentifier(player);
  if (Settings::OnlyWhitelisted() && !IsWhitelisted(identifier)) {
    return NotWhitelisted(identifier);
  }
  if (Settings::UseBlacklist() && IsBlacklisted(identifier)) {
    return Blacklisted(identifier);
  }
  return std::nullopt;
}

}  // namespace gatehouse
