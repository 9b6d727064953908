#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "sim/app/RconDispatch.h"
#include "sim/app/RemoteConsole.h"
#include "sim/game/EngineObjects.h"
#include "sim/game/Game.h"
#include "sim/rcon/RconServer.h"

namespace sim::app {
namespace {

// RCON over TCP as one of the loop's poll sources: each command a client sends
// runs through RunRconCommand, the same path as the local `rcon` command, with
// a connection whose reply function writes back to that client.
class RconService final : public RemoteConsole {
 public:
  explicit RconService(std::string password)
      : server_(std::move(password),
                [this](rcon::ClientId client, int32_t request_id, std::string command) {
                  Run(client, request_id, command);
                }) {}

  bool Listen(uint16_t port, std::string* error) { return server_.Listen(port, error); }
  void Serve(Game* game) override { game_ = game; }
  uint16_t Port() const override { return server_.Port(); }

  void AppendPollFds(std::vector<PollFd>& fds) const override { server_.AppendPollFds(fds); }
  int PollTimeoutMs() const override { return server_.PollTimeoutMs(); }
  void Service(const std::vector<PollFd>& fds) override { server_.Service(fds); }

 private:
  void Run(rcon::ClientId client, int32_t request_id, const std::string& command) {
    if (game_ == nullptr) {
      return;
    }
    RCONClientConnection connection;
    connection.reply = [this, client](int32_t id, int32_t type, const std::string& body) {
      server_.Reply(client, id, type, body);
    };
    RunRconCommand(connection, request_id, command, game_->World());
  }

  rcon::RconServer server_;
  Game* game_ = nullptr;
};

}  // namespace

std::unique_ptr<RemoteConsole> StartRemoteConsole(uint16_t port, std::string password,
                                                  std::string* error) {
  auto service = std::make_unique<RconService>(std::move(password));
  if (!service->Listen(port, error)) {
    return nullptr;
  }
  return service;
}

}  // namespace sim::app
