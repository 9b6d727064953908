#pragma once

#include "host/EngineTypes.h"

namespace gatehouse {

// The operator's RCON commands. Each answers its request once, through the
// same reply as the RCON reload (the request's packet id, type 0), with lines
// separated by "\n"; the command line is the packet's body, the command's
// name first.

// "Gatehouse.Explain ID": what a join of ID would meet now (ExplainJoin).
void RconExplain(RCONClientConnection* connection, RCONPacket* packet, UWorld* world);

// "Gatehouse.Status": StatusReport.
void RconStatus(RCONClientConnection* connection, RCONPacket* packet, UWorld* world);

// "Gatehouse.Add ID" and "Gatehouse.Remove ID": AddPlayer and RemovePlayer.
void RconAdd(RCONClientConnection* connection, RCONPacket* packet, UWorld* world);
void RconRemove(RCONClientConnection* connection, RCONPacket* packet, UWorld* world);

// "Gatehouse.Sweep" and "Gatehouse.Sweep preview": SweepNow and SweepPreview.
void RconSweep(RCONClientConnection* connection, RCONPacket* packet, UWorld* world);

}  // namespace gatehouse
