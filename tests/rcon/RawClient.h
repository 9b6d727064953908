#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "sim/rcon/Packet.h"
#include "sim/rcon/Socket.h"

namespace sim::rcon::testing {

// A blocking loopback client that speaks raw bytes, so that tests can send
// what no well-behaved client would. Every read gives up after five seconds.
class RawClient {
 public:
  // Connected to 127.0.0.1:port, or not Connected() when refused.
  explicit RawClient(uint16_t port);

  bool Connected() const { return socket_.Valid(); }
  bool Send(const std::string& bytes);
  bool SendPacket(int32_t id, int32_t type, const std::string& body);
  // The next whole packet, or nothing on a timeout or a closed connection.
  std::optional<Packet> ReadPacket();
  // Exactly one read, as a client that reads one packet per read does.
  std::string ReadOnce();
  // True when the server closes the connection before the deadline; anything
  // it still sends before that is skipped.
  bool WaitClosed();
  // Logs in; true when the password is taken.
  bool Authenticate(const std::string& password, int32_t id = 1);
  // Sends nothing more but goes on reading.
  void ShutdownSending();

 private:
  bool ReadExactly(char* into, size_t count);

  UniqueSocket socket_;
};

// A packet's bytes with any size field, for malformed input.
std::string RawPacket(int32_t size, int32_t id, int32_t type, const std::string& body);

}  // namespace sim::rcon::testing
