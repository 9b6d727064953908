#include "sim/app/RconService.h"

#include <utility>

#include "sim/app/RconDispatch.h"
#include "sim/game/EngineObjects.h"
#include "sim/game/Game.h"

namespace sim::app {

std::unique_ptr<RconService> RconService::Start(uint16_t port, std::string password,
                                                std::string* error) {
  std::unique_ptr<RconService> service(new RconService(std::move(password)));
  if (!service->server_.Listen(port, error)) {
    return nullptr;
  }
  return service;
}

std::unique_ptr<RemoteConsole> StartRemoteConsole(uint16_t port, std::string password,
                                                  std::string* error) {
  return RconService::Start(port, std::move(password), error);
}

RconService::RconService(std::string password)
    : server_(std::move(password),
              [this](rcon::ClientId client, int32_t request_id, std::string command) {
                Run(client, request_id, command);
              }) {}

void RconService::Run(rcon::ClientId client, int32_t request_id, const std::string& command) {
  if (game_ == nullptr) {
    return;
  }
  RCONClientConnection connection;
  connection.reply = [this, client](int32_t id, int32_t type, const std::string& body) {
    server_.Reply(client, id, type, body);
  };
  RunRconCommand(connection, request_id, command, game_->World());
}

}  // namespace sim::app
