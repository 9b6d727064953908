#include "sim/app/RemoteConsole.h"
#include "sim/app/platform/Process.h"

namespace sim::app {

// This build has no RCON server over TCP; the command line refuses --rcon-port
// before anything asks for one.
std::unique_ptr<RemoteConsole> StartRemoteConsole(uint16_t /*port*/, std::string /*password*/,
                                                  std::string* error) {
  *error = platform::kNoRconServer;
  return nullptr;
}

}  // namespace sim::app
