// A stand-in server for the third-party client checks: serves RCON on
// 127.0.0.1 with the simulator's options, answers "Gatehouse.Reload" (any
// case, extra words ignored) with "Reloaded Config!" and any other command
// with "Unknown command: NAME", and exits when its standard input ends.
//
//   gatehouse_rcon_test_server --rcon-port PORT --rcon-password PASSWORD

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sim/rcon/RconServer.h"

namespace {

std::string FirstWord(const std::string& line) {
  const size_t start = line.find_first_not_of(' ');
  if (start == std::string::npos) {
    return {};
  }
  return line.substr(start, line.find(' ', start) - start);
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::tolower(x) == std::tolower(y);
  });
}

}  // namespace

int main(int argc, char** argv) {
  std::string port;
  std::string password;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    (option == "--rcon-port" ? port : password) = argv[i + 1];
  }
  if (port.empty() || password.empty()) {
    std::fprintf(stderr, "usage: %s --rcon-port PORT --rcon-password PASSWORD\n", argv[0]);
    return 2;
  }
  sim::rcon::RconServer* server_ref = nullptr;
  sim::rcon::RconServer server(
      password, [&](sim::rcon::ClientId client, int32_t id, std::string command) {
        const std::string word = FirstWord(command);
        const std::string reply = SameIgnoringCase(word, "Gatehouse.Reload")
                                      ? "Reloaded Config!"
                                      : "Unknown command: " + word;
        server_ref->Reply(client, id, sim::rcon::kTypeResponseValue, reply);
      });
  server_ref = &server;
  std::string error;
  if (!server.Listen(static_cast<uint16_t>(std::atoi(port.c_str())), &error)) {
    std::fprintf(stderr, "error: %s\n", error.c_str());
    return 2;
  }
  std::vector<pollfd> fds;
  for (;;) {
    fds.clear();
    fds.push_back(pollfd{STDIN_FILENO, POLLIN, 0});
    server.AppendPollFds(fds);
    if (::poll(fds.data(), fds.size(), server.PollTimeoutMs()) < 0) {
      continue;
    }
    if (fds[0].revents != 0) {
      char buffer[256];
      if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
        return 0;
      }
    }
    server.Service(fds);
  }
}
