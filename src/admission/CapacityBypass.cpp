#include "admission/CapacityBypass.h"

#include <exception>

#include <fmt/format.h>

#include "admission/Explanation.h"
#include "admission/HookFailure.h"
#include "admission/HookSlots.h"
#include "admission/Identifier.h"
#include "admission/ListMembership.h"
#include "admission/TextConversion.h"
#include "common/ProcessState.h"
#include "config/AuditLog.h"
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

// The audit record of a bypass the game let stand: who, and the entries or
// groups that whitelist them.
nlohmann::json BypassRecord(const FUniqueNetIdRepl& unique_id) {
  const FString identifier = GetIdentifier(unique_id);
  return {{"id", ToNarrowString(identifier)}, {"reason", WhyWhitelisted(identifier)}};
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
  // A pre-login that does not admit the player, refused by the game (a ban, a
  // wrong password) or ended by what the game throws, never reaches the
  // capacity checks armed for it: left armed, they would let the next player,
  // whoever it is, into a full server. What was armed before stays.
  const auto disarm = [&] {
    if (armed) {
      Bypass() = before;
    }
  };
  // The game alone decides whether the player may join. Its own function is
  // called outside the guard: what it throws is the game's, passed on
  // unchanged as if no hook were installed.
  try {
    PreLoginTrampoline()(game_mode, options, address, unique_id, error_message);
  } catch (...) {
    disarm();
    throw;
  }
  if (!error_message.IsEmpty()) {
    disarm();
  } else if (armed) {
    Audit("bypass", [&] { return BypassRecord(*unique_id); });
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
