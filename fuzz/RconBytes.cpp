// RCON bytes from one to three clients into the simulator's RCON server on
// loopback, with the plugin loaded: commands run through the host's command
// service as gatehouse-sim runs them (the reload and the operator's commands,
// with whatever arguments; fuzz/corpus/rcon-bytes.dict gives their names), and
// each client reads whatever comes back. config.json may change only by an
// Add or a Remove whose answer says it saved the file. Each client's bytes are sent in one go and
// its side then shut, so a run ends once the server has closed every client or a bounded number of
// loop passes has gone by.

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzServer.h"
#include "config/ReadConfig.h"
#include "sim/app/RconDispatch.h"
#include "sim/game/EngineObjects.h"
#include "sim/rcon/RconServer.h"
#include "sim/rcon/Socket.h"

namespace {

constexpr const char* kPassword = "hunter2";
constexpr int kMaxPasses = 200;

struct Client {
  sim::rcon::UniqueSocket socket;
  std::string unsent;
  bool shut = false;      // everything sent, sending side shut
  bool finished = false;  // the server closed it, or it failed
};

// A non-blocking client socket; invalid when refused.
sim::rcon::UniqueSocket Connect(uint16_t port) {
  sim::rcon::UniqueSocket socket = sim::rcon::ConnectToLoopback(port);
  if (socket.Valid()) {
    ::fcntl(socket.Get(), F_SETFL, ::fcntl(socket.Get(), F_GETFL) | O_NONBLOCK);
  }
  return socket;
}

// Sends what the socket takes, then shuts the sending side once all is out;
// reads and drops what the server wrote. Finished at end of stream or error.
void Exchange(Client& client) {
  if (client.finished) {
    return;
  }
  if (!client.unsent.empty()) {
    const ssize_t sent =
        ::send(client.socket.Get(), client.unsent.data(), client.unsent.size(), MSG_NOSIGNAL);
    if (sent > 0) {
      client.unsent.erase(0, static_cast<size_t>(sent));
    }
  }
  if (client.unsent.empty() && !client.shut) {
    ::shutdown(client.socket.Get(), SHUT_WR);
    client.shut = true;
  }
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::recv(client.socket.Get(), buffer, sizeof buffer, 0);
    if (got > 0) {
      continue;
    }
    if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
      client.finished = true;
    }
    return;
  }
}

std::string FileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool SavesTheFile(const std::string& reply) {
  return reply.rfind("Added ", 0) == 0 || reply.rfind("Removed ", 0) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  gatehouse::fuzz::Server game(4);
  game.WriteConfig(R"({"OnlyWhitelisted": true, "KickTimer": 1})");
  game.Load();
  const std::string config_before = FileText(gatehouse::ConfigPath());
  bool saved = false;

  sim::rcon::RconOptions options;
  options.auth_timeout = std::chrono::milliseconds(200);
  options.auth_reply_pause = std::chrono::milliseconds(0);
  sim::rcon::RconServer* serving = nullptr;
  RCONClientConnection connection;
  sim::rcon::RconServer server(
      kPassword,
      [&](sim::rcon::ClientId client, int32_t request_id, std::string command) {
        connection.reply = [&, client](int32_t id, int32_t type, const std::string& body) {
          saved = saved || SavesTheFile(body);
          serving->Reply(client, id, type, body);
        };
        sim::app::RunRconCommand(connection, request_id, command, game.Game().World());
      },
      options);
  serving = &server;
  std::string why;
  if (!server.Listen(0, &why)) {
    return 0;
  }

  std::vector<Client> clients(input.ConsumeIntegralInRange(1, 3));
  for (size_t i = 0; i < clients.size(); ++i) {
    clients[i].unsent = i + 1 < clients.size() ? input.ConsumeRandomLengthString(8192)
                                               : input.ConsumeRemainingBytesAsString();
    clients[i].socket = Connect(server.Port());
    clients[i].finished = !clients[i].socket.Valid();
  }
  gatehouse::fuzz::Count("connections", clients.size());

  for (int pass = 0; pass < kMaxPasses; ++pass) {
    std::vector<pollfd> fds;
    server.AppendPollFds(fds);
    ::poll(fds.data(), fds.size(), 1);
    server.Service(fds);
    bool all_finished = true;
    for (Client& client : clients) {
      Exchange(client);
      all_finished = all_finished && client.finished;
    }
    if (all_finished) {
      break;
    }
  }
  clients.clear();  // closes their sockets
  server.Close();
  if (!saved && FileText(gatehouse::ConfigPath()) != config_before) {
    std::fprintf(stderr, "config.json changed without a command that saved it\n");
    std::abort();
  }
  return 0;
}
