#include "sim/app/RemoteConsole.h"

#include <utility>

#include "sim/app/RconDispatch.h"
#include "sim/game/EngineObjects.h"
#include "sim/game/Game.h"

namespace sim::app {

RemoteConsole::RemoteConsole(std::string password)
    : server_(std::move(password), [this](rcon::ClientId client, int32_t request_id,
                                          const std::string& command) {
        if (game_ == nullptr) {
          return;
        }
        RCONClientConnection connection;
        connection.reply = [this, client](int32_t id, int32_t type, const std::string& body) {
          server_.Reply(client, id, type, body);
        };
        RunRconCommand(connection, request_id, command, game_->World());
      }) {}

}  // namespace sim::app
