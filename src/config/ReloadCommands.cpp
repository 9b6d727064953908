#include "config/ReloadCommands.h"

#include <exception>
#include <stdexcept>
#include <string>

#include "common/LibraryPath.h"
#include "common/RconReply.h"
#include "config/AuditLog.h"
#include "config/ReadConfig.h"
#include "host/ApiUtils.h"

namespace gatehouse {

namespace {

constexpr char kReloaded[] = "Reloaded Config!";
constexpr FLinearColor kGreen{0, 1, 0, 1};

void TellReloaded(APlayerController* controller) {
  const auto messaging =
      AsaApi::GetApiUtils().GetMessagingManager(FString(LibraryPath::Get().c_str()));
  if (!messaging) {
    throw std::runtime_error("the host has no messaging object for this plugin");
  }
  messaging->SendServerMessage(reinterpret_cast<AShooterPlayerController*>(controller), kGreen,
                               FString(kReloaded));
}

}  // namespace

nlohmann::json ReloadRecord(const char* source, const std::string& error) {
  if (error.empty()) {
    return {{"source", source}, {"result", "ok"}, {"reason", "config.json read and in force"}};
  }
  return {{"source", source}, {"result", "error"}, {"reason", error}};
}

void ConsoleReload(APlayerController* controller, FString* /*command_line*/, bool /*flag*/) {
  if (controller == nullptr) {
    return;
  }
  try {
    ReadConfig();
    Audit("reload", ReloadRecord("console"));
    TellReloaded(controller);
  } catch (const std::exception& error) {
    LogReadFailure(error);
    Audit("reload", [&] { return ReloadRecord("console", error.what()); });
  } catch (...) {
    LogUnknownReadFailure();
    Audit("reload", [] { return ReloadRecord("console", "unknown error"); });
  }
}

void RconReload(RCONClientConnection* connection, RCONPacket* packet, UWorld* /*world*/) {
  const char* body = "";
  try {
    ReadConfig();
    body = kReloaded;
    Audit("reload", ReloadRecord("rcon"));
  } catch (const std::exception& error) {
    LogReadFailure(error);
    Audit("reload", [&] { return ReloadRecord("rcon", error.what()); });
  } catch (...) {
    LogUnknownReadFailure();
    Audit("reload", [] { return ReloadRecord("rcon", "unknown error"); });
  }
  // Every request gets its one answer; a host that cannot carry it leaves the
  // client without one, and the reason on the log.
  try {
    RconReply(connection, *packet, body);
  } catch (const std::exception& error) {
    LogReadFailure(error);
  } catch (...) {
    LogUnknownReadFailure();
  }
}

}  // namespace gatehouse
