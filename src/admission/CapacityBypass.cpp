#include "admission/CapacityBypass.h"

#include <exception>

#include <fmt/format.h>

#include "admission/HookFailure.h"
#include "admission/HookSlots.h"
#include "admission/Identifier.h"
#include "admission/ListMembership.h"
#include "admission/TextConversion.h"
#include "common/ProcessState.h"
#include "config/ReloadOnChange.h"
#include "config/Settings.h"
#include "console/ConsolePrint.h"

namespace gatehouse {

namespace {

// True when it armed the bypass.
bool ArmForWhitelisted(const FUniqueNetIdRepl* unique_id) {
  // Read before the null test, so that a wrong type shows at every pre-login.
  if (!Settings::AllowJoinFullServer() || unique_id == nullptr) {
    return false;
  }
  const FString identifier = GetIdentifier(*unique_id);
  if (Settings::DebugPreLogin()) {
    ConsolePrintInfo(fmt::format("[GH] PreLogin Identifier - {}", ToNarrowString(identifier)));
  }
  if (!IsWhitelisted(identifier)) {
    return false;
  }
  ConsolePrintInfo(fmt::format("[GH] Ignoring capacity for - {}", ToNarrowString(identifier)));
  Bypass().IgnoreCapacity = true;
  return true;
}

}  // namespace

CapacityBypass& Bypass() {
  return ProcessState::Get<CapacityBypass>();
}

void PreLoginHook(AShooterGameMode* game_mode, FString& options, FString& address,
                  FUniqueNetIdRepl* unique_id, FString& error_message) {
  ReloadIfChangedFor("PreLoginHook");
  const CapacityBypass before = Bypass();
  bool armed = false;
  try {
    armed = ArmForWhitelisted(unique_id);
  } catch (const std::exception& error) {
    LogHookFailure("PreLoginHook", error);
  } catch (...) {
    LogHookFailure("PreLoginHook");
  }
  // The game alone decides whether the player may join. Its own function is
  // called outside the guard: what it throws is the game's, passed on as if
  // no hook were installed.
  PreLoginTrampoline()(game_mode, options, address, unique_id, error_message);
  // Refused by the game (a ban, a wrong password), the player never reaches
  // the capacity checks armed for it: left armed, they would let the next
  // player, whoever it is, into a full server. What was armed before stays.
  if (armed && !error_message.IsEmpty()) {
    Bypass() = before;
  }
}

bool AtCapacityHook(AGameSession* session, bool first_flag, FString& text, bool second_flag,
                    int* number) {
  CapacityBypass& bypass = Bypass();
  if (bypass.IgnoreCapacity) {
    bypass.IgnoreCapacity = false;
    bypass.IgnoreCapacityAgain = true;
    return false;
  }
  if (bypass.IgnoreCapacityAgain) {
    bypass.IgnoreCapacityAgain = false;
    return false;
  }
  return AtCapacityTrampoline()(session, first_flag, text, second_flag, number);
}

}  // namespace gatehouse
