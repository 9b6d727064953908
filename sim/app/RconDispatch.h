#pragma once

#include <cstdint>
#include <string>

#include "sim/game/EngineObjects.h"

namespace sim::app {

// Runs one RCON command line for a client, as the host does with a request
// packet (type 2): the registered command named by its first word answers
// through the connection's reply function; an unknown one gets the reply
// "Unknown command: NAME" (type 0) and the answer is false. Used by the local
// `rcon` command, `explain` and the RCON server alike.
bool RunRconCommand(RCONClientConnection& connection, int32_t request_id,
                    const std::string& command_utf8, UWorld* world);

}  // namespace sim::app
