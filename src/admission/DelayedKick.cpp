#include "admission/DelayedKick.h"

#include <exception>
#include <utility>

#include <fmt/format.h>

#include "admission/Explanation.h"
#include "admission/OnlinePlayers.h"
#include "admission/TextConversion.h"
#include "common/LibraryPath.h"
#include "common/PluginLog.h"
#include "config/AuditLog.h"
#include "console/ConsolePrint.h"
#include "host/ApiUtils.h"
#include "host/GameFunction.h"
#include "host/Timer.h"

namespace gatehouse {

namespace {

// Who is kicked, by which check and why, for the audit records of a kick.
nlohmann::json KickSubject(const FailedCheck& failed) {
  const bool whitelist = std::string(failed.check) == "whitelist";
  return {{"id", ToNarrowString(failed.identifier)},
          {"check", failed.check},
          {"reason", whitelist ? "not whitelisted" : WhyBlacklisted(failed.identifier)}};
}

}  // namespace

void KickPlayer(AShooterPlayerController* controller, FString message) {
  AShooterGameMode* const game_mode = AsaApi::GetApiUtils().GetShooterGameMode();
  if (game_mode == nullptr) {
    return;
  }
  GameFunction<void(AShooterGameMode*, APlayerController*, FString&)>(
      "AShooterGameMode.KickPlayerController(APlayerController*,FString&)")(
      game_mode, reinterpret_cast<APlayerController*>(controller), message);
}

PendingKick::PendingKick(AShooterPlayerController* controller, FString message,
                         nlohmann::json audit)
    : controller_(FWeakObjectPtr::To(AsObject(controller))),
      message_(std::move(message)),
      audit_(std::move(audit)) {}

void PendingKick::operator()() const {
  // The timer runs this outside any hook: a failure stops here, on the log.
  try {
    Online().KickRan(controller_);
    UObject* const controller = controller_.Get();
    if (controller == nullptr) {
      Recorded("kick-dropped");
      return;
    }
    KickPlayer(reinterpret_cast<AShooterPlayerController*>(controller), message_);
    Recorded("kicked");
  } catch (const std::exception& error) {
    PluginLog::Get().Error("KickPlayer: {}", error.what());
  } catch (...) {
    PluginLog::Get().Error("KickPlayer: unknown error");
  }
}

void PendingKick::Recorded(const char* event) const noexcept {
  // A kick scheduled while AuditLog was off has no subject and no record.
  if (!audit_.is_null()) {
    Audit(event, audit_);
  }
}

void AnnounceKick(const char* check, const FString& identifier) {
  const bool whitelist = std::string(check) == "whitelist";
  ConsolePrintAlert(fmt::format("[GH][kick] {} - {}", whitelist ? "Not whitelisted" : "Blacklisted",
                                ToNarrowString(identifier)));
}

void ScheduleKick(AShooterPlayerController* controller, const FailedCheck& failed) {
  FString message = ToFString(failed.message);
  API::Timer& timer = API::Timer::Get();
  nlohmann::json subject;
  Audit("kick-scheduled", [&] {
    subject = KickSubject(failed);
    nlohmann::json record = subject;
    record["message"] = ToNarrowString(message);
    record["delay"] = failed.delay;
    return record;
  });
  const std::string& library = LibraryPath::Get();
  const PendingKick kick(controller, std::move(message), std::move(subject));
  timer.DelayExecuteInternal(kick, failed.delay, fmt::format("{}_{}", library, 0), library);
  Online().KickScheduled(kick.Controller());
}

}  // namespace gatehouse
