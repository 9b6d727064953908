#include "operator/OperatorCommands.h"

#include <exception>
#include <string>
#include <vector>

#include "admission/Explanation.h"
#include "common/Names.h"
#include "common/PluginLog.h"
#include "common/RconReply.h"
#include "config/ReloadOnChange.h"
#include "operator/CommandLine.h"
#include "operator/ListChange.h"
#include "operator/StatusReport.h"
#include "operator/Sweep.h"

namespace gatehouse {

namespace {

// Runs a command and sends its answer. What the command cannot contain
// itself, and a host that cannot carry the answer, go to the log under the
// command's name.
template <class Answer>
void Answered(const char* command, RCONClientConnection* connection, const RCONPacket& packet,
              Answer answer) {
  ReloadIfChangedFor(command);
  try {
    RconReply(connection, packet, answer());
  } catch (const std::exception& error) {
    PluginLog::Get().Error("{}: {}", command, error.what());
  } catch (...) {
    PluginLog::Get().Error("{}: unknown error", command);
  }
}

std::string Explanation(const std::u16string& id) {
  if (id.empty() || id.find_first_of(u" \t") != std::u16string::npos) {
    return std::string(Names::kExplainCommand) + " takes one ID: " + Names::kExplainCommand + " ID";
  }
  // The Identifier as the game would give it for this unique net id.
  const FString identifier = FString::FromUnits(id.data(), static_cast<int32_t>(id.size()));
  std::string text;
  for (const std::string& line : ExplainJoin(identifier)) {
    text += (text.empty() ? "" : "\n") + line;
  }
  return text;
}

std::string Sweep(const std::u16string& argument) {
  if (argument.empty()) {
    return SweepNow();
  }
  if (argument == u"preview") {
    return SweepPreview();
  }
  return std::string(Names::kSweepCommand) +
         " takes nothing or \"preview\": " + Names::kSweepCommand + " [preview]";
}

}  // namespace

void RconExplain(RCONClientConnection* connection, RCONPacket* packet, UWorld* /*world*/) {
  Answered(Names::kExplainCommand, connection, *packet,
           [&] { return Explanation(Argument(packet->Body)); });
}

void RconStatus(RCONClientConnection* connection, RCONPacket* packet, UWorld* /*world*/) {
  Answered(Names::kStatusCommand, connection, *packet, [] { return StatusReport(); });
}

void RconAdd(RCONClientConnection* connection, RCONPacket* packet, UWorld* /*world*/) {
  Answered(Names::kAddCommand, connection, *packet,
           [&] { return AddPlayer(Argument(packet->Body)); });
}

void RconRemove(RCONClientConnection* connection, RCONPacket* packet, UWorld* /*world*/) {
  Answered(Names::kRemoveCommand, connection, *packet,
           [&] { return RemovePlayer(Argument(packet->Body)); });
}

void RconSweep(RCONClientConnection* connection, RCONPacket* packet, UWorld* /*world*/) {
  Answered(Names::kSweepCommand, connection, *packet,
           [&] { return Sweep(Argument(packet->Body)); });
}

}  // namespace gatehouse
