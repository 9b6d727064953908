#include "admission/PostLoginHook.h"

#include <exception>
#include <optional>

#include "admission/DelayedKick.h"
#include "admission/HookFailure.h"
#include "admission/HookSlots.h"
#include "admission/Identifier.h"
#include "admission/JoinDecision.h"
#include "admission/OnlinePlayers.h"

namespace gatehouse {

namespace {

// The post-login's checks acted on: the debug line printed, and each failed
// check's kick line printed, then its kick scheduled.
class Enforcement final : public HookSteps {
 public:
  explicit Enforcement(AShooterPlayerController* player) : player_(player) {}

  const FString* Player() override {
    if (player_ == nullptr) {
      return nullptr;
    }
    identifier_ = GetIdentifier(player_);
    return &*identifier_;
  }
  void Failing(const char* check, const FString& identifier) override {
    AnnounceKick(check, identifier);
  }
  void Failed(const FailedCheck& failed) override { ScheduleKick(player_, failed); }

 private:
  AShooterPlayerController* player_;
  std::optional<FString> identifier_;
};

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
    Enforcement enforcement(player);
    DecidePostLogin(enforcement, [](const char*, StepOutcome) { return true; });
  } catch (const std::exception& error) {
    LogHookFailure("PostLoginHook", error);
  } catch (...) {
    LogHookFailure("PostLoginHook");
  }
}

}  // namespace gatehouse
