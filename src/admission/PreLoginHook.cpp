#include "admission/PreLoginHook.h"

#include <exception>
#include <optional>

#include <fmt/format.h>

#include "admission/AtCapacityHook.h"
#include "admission/Explanation.h"
#include "admission/HookFailure.h"
#include "admission/HookSlots.h"
#include "admission/Identifier.h"
#include "admission/JoinDecision.h"
#include "admission/TextConversion.h"
#include "config/AuditLog.h"
#include "config/ReloadOnChange.h"
#include "console/ConsolePrint.h"

namespace gatehouse {

namespace {

// The pre-login's decision acted on: a changed config.json reloaded, the debug
// line printed.
class Arming final : public HookSteps {
 public:
  explicit Arming(const FUniqueNetIdRepl* unique_id) : unique_id_(unique_id) {}

  // The look handles its own failures.
  void LookForChange() override { ReloadIfChangedFor("PreLoginHook"); }
  const FString* Player() override {
    if (unique_id_ == nullptr) {
      return nullptr;
    }
    player = GetIdentifier(*unique_id_);
    return &*player;
  }

  // The player's Identifier, once asked for.
  std::optional<FString> player;

 private:
  const FUniqueNetIdRepl* unique_id_;
};

// The audit record of a bypass the game let stand: who, and the entries or
// groups that whitelist them.
nlohmann::json BypassRecord(const FUniqueNetIdRepl& unique_id) {
  const FString identifier = GetIdentifier(unique_id);
  return {{"id", ToNarrowString(identifier)}, {"reason", WhyWhitelisted(identifier)}};
}

}  // namespace

void PreLoginHook(AShooterGameMode* game_mode, FString& options, FString& address,
                  FUniqueNetIdRepl* unique_id, FString& error_message) {
  const CapacityBypass before = Bypass();
  bool armed = false;
  try {
    Arming arming(unique_id);
    if (DecidePreLogin(arming) == StepOutcome::passed) {
      ConsolePrintInfo(
          fmt::format("[GH] Ignoring capacity for - {}", ToNarrowString(*arming.player)));
      Bypass().IgnoreCapacity = true;
      armed = true;
    }
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

}  // namespace gatehouse
