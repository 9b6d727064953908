#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/app/EventLoop.h"
#include "sim/rcon/RconServer.h"

namespace sim {
class Game;
}

namespace sim::app {

// RCON over TCP as one of the loop's sources: each command a client sends runs
// through RunRconCommand, the same path as the local `rcon` command, with a
// connection whose reply function writes back to that client.
class RemoteConsole final : public PollSource {
 public:
  explicit RemoteConsole(std::string password);

  // Listens on 127.0.0.1:port; false with the reason in *error.
  bool Listen(uint16_t port, std::string* error) { return server_.Listen(port, error); }
  // The port it listens on (the one the system chose when asked for port 0).
  uint16_t Port() const { return server_.Port(); }
  // Commands are served for this game from now on (none arrive before: the loop
  // has not run); null once the game is gone, when commands are dropped.
  void Serve(Game* game) { game_ = game; }

  void AppendPollFds(std::vector<PollFd>& fds) const override { server_.AppendPollFds(fds); }
  int PollTimeoutMs() const override { return server_.PollTimeoutMs(); }
  void Service(const std::vector<PollFd>& fds) override { server_.Service(fds); }

 private:
  rcon::RconServer server_;
  Game* game_ = nullptr;
};

}  // namespace sim::app
