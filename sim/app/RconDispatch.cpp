#include "sim/app/RconDispatch.h"

#include "sim/framework/SimHost.h"
#include "sim/rcon/Packet.h"

namespace sim::app {
namespace {

std::string FirstWord(const std::string& text) {
  const size_t begin = text.find_first_not_of(" \t");
  // Without a blank after it, the word runs to the end (substr stops there).
  return begin == std::string::npos ? std::string()
                                    : text.substr(begin, text.find_first_of(" \t", begin) - begin);
}

}  // namespace

bool RunRconCommand(RCONClientConnection& connection, int32_t request_id,
                    const std::string& command_utf8, UWorld* world) {
  RCONPacket packet;
  packet.Length = static_cast<int32_t>(command_utf8.size()) + rcon::kMinPacketSize;
  packet.Id = request_id;
  packet.Type = rcon::kTypeExecCommand;
  packet.Body = FStringFromUtf8(command_utf8);
  if (DispatchRconCommand(&connection, packet, world)) {
    return true;
  }
  if (connection.reply) {
    connection.reply(request_id, rcon::kTypeResponseValue,
                     "Unknown command: " + FirstWord(command_utf8));
  }
  return false;
}

}  // namespace sim::app
