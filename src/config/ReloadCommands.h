#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "host/EngineTypes.h"
#include "host/FString.h"

namespace gatehouse {

// "Gatehouse.Reload" from a player's console: reads config.json again and
// tells the player "Reloaded Config!" in opaque green. Without a calling
// player it does nothing. A failure is logged; the player hears nothing.
void ConsoleReload(APlayerController* controller, FString* command_line, bool flag);

// "Gatehouse.Reload" over RCON: reads config.json again and answers the request
// with "Reloaded Config!", or with an empty body after a failure, which is
// logged.
void RconReload(RCONClientConnection* connection, RCONPacket* packet, UWorld* world);

// The fields of the audit record of a reload from this source ("console",
// "rcon", "change"): "result" ok, or error with the error as "reason".
//
//   Audit("reload", ReloadRecord("change", error.what()));
nlohmann::json ReloadRecord(const char* source, const std::string& error = {});

}  // namespace gatehouse
