#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sim/app/RemoteConsole.h"
#include "sim/rcon/RconServer.h"

namespace sim {
class Game;
}

namespace sim::app {

// RCON over TCP as one of the loop's poll sources: each command a client sends
// runs through RunRconCommand, the same path as the local `rcon` command, with
// a connection whose reply function writes back to that client.
class RconService final : public RemoteConsole {
 public:
  // Listening on 127.0.0.1:port, or null with the reason in *error.
  static std::unique_ptr<RconService> Start(uint16_t port, std::string password,
                                            std::string* error);

  void Serve(Game* game) override { game_ = game; }
  uint16_t Port() const override { return server_.Port(); }

  void AppendPollFds(std::vector<PollFd>& fds) const override { server_.AppendPollFds(fds); }
  int PollTimeoutMs() const override { return server_.PollTimeoutMs(); }
  void Service(const std::vector<PollFd>& fds) override { server_.Service(fds); }

 private:
  explicit RconService(std::string password);
  void Run(rcon::ClientId client, int32_t request_id, const std::string& command);

  rcon::RconServer server_;
  Game* game_ = nullptr;
};

}  // namespace sim::app
