#include "admission/DelayedKick.h"

#include <exception>
#include <utility>

#include <fmt/format.h>

#include "admission/OnlinePlayers.h"
#include "admission/TextConversion.h"
#include "common/LibraryPath.h"
#include "common/PluginLog.h"
#include "config/Settings.h"
#include "console/ConsolePrint.h"
#include "host/ApiUtils.h"
#include "host/GameFunction.h"
#include "host/Timer.h"

namespace gatehouse {

void KickPlayer(AShooterPlayerController* controller, FString message) {
  AShooterGameMode* const game_mode = AsaApi::GetApiUtils().GetShooterGameMode();
  if (game_mode == nullptr) {
    return;
  }
  GameFunction<void(AShooterGameMode*, APlayerController*, FString&)>(
      "AShooterGameMode.KickPlayerController(APlayerController*,FString&)")(
      game_mode, reinterpret_cast<APlayerController*>(controller), message);
}

PendingKick::PendingKick(AShooterPlayerController* controller, FString message)
    : controller_(FWeakObjectPtr::To(AsObject(controller))), message_(std::move(message)) {}

void PendingKick::operator()() const {
  // The timer runs this outside any hook: a failure stops here, on the log.
  try {
    Online().KickRan(controller_);
    UObject* const controller = controller_.Get();
    if (controller == nullptr) {
      return;
    }
    KickPlayer(reinterpret_cast<AShooterPlayerController*>(controller), message_);
  } catch (const std::exception& error) {
    PluginLog::Get().Error("KickPlayer: {}", error.what());
  } catch (...) {
    PluginLog::Get().Error("KickPlayer: unknown error");
  }
}

void ScheduleKick(AShooterPlayerController* controller, std::string line,
                  std::string (*message_setting)()) {
  ConsolePrintAlert(std::move(line));
  FString message = ToFString(message_setting());
  API::Timer& timer = API::Timer::Get();
  const int delay = Settings::KickTimer();
  const std::string& library = LibraryPath::Get();
  const PendingKick kick(controller, std::move(message));
  timer.DelayExecuteInternal(kick, delay, fmt::format("{}_{}", library, 0), library);
  Online().KickScheduled(kick.Controller());
}

}  // namespace gatehouse
