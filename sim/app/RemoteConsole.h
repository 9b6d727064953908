#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "sim/app/EventLoop.h"

namespace sim {
class Game;
}

namespace sim::app {

// RCON over TCP as the simulator's start sees it: one of the loop's sources,
// serving the commands of its clients for a game.
class RemoteConsole : public PollSource {
 public:
  // Commands are served for this game from now on (none arrive before: the loop
  // has not run); null once the game is gone, when commands are dropped.
  virtual void Serve(Game* game) = 0;
  // The port it listens on (the one the system chose when asked for port 0).
  virtual uint16_t Port() const = 0;
};

// Listening on 127.0.0.1:port, or null with the reason in *error.
std::unique_ptr<RemoteConsole> StartRemoteConsole(uint16_t port, std::string password,
                                                  std::string* error);

}  // namespace sim::app
