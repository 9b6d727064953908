#pragma once

#include <string>

#include "host/EngineTypes.h"

namespace gatehouse {

// The one answer to an RCON request: the request's packet id, type 0 (the
// protocol's response value) and this text (UTF-8; lines separated by "\n"),
// sent through the game's RCONClientConnection.SendMessage. Throws when the
// host cannot carry it.
void RconReply(RCONClientConnection* connection, const RCONPacket& request,
               const std::string& text);

}  // namespace gatehouse
