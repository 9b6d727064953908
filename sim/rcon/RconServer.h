#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "sim/rcon/Connection.h"
#include "sim/rcon/Packet.h"
#include "sim/rcon/Socket.h"

namespace sim::rcon {

// A connected client, for as long as the server runs. Ids are never reused, so
// a late reply meant for a client that has gone cannot reach a newcomer that
// got the same socket number.
using ClientId = uint64_t;

// The limits of "RCON over TCP" in docs/simulator.md, which says what each
// does at these defaults.
struct RconOptions {
  // A client that has not given the right password by then is closed: time
  // enough for any client to log in, short enough that connections which never
  // do free their slot soon.
  std::chrono::milliseconds auth_timeout{5000};
  // Between the two packets that answer a password: long enough that a client
  // reading one packet per read gets each in a read of its own.
  std::chrono::milliseconds auth_reply_pause{100};
  // Connections open at once; past them a newcomer takes the slot of the
  // oldest one without the right password, or is closed.
  size_t max_clients = 256;
  // Wrong passwords in a row from one address answered at once; past them its
  // passwords wait, unread, failure_delay after its last wrong one, doubling
  // up to max_failure_delay, until a right one or failure_memory without one.
  int free_password_failures = 3;
  std::chrono::milliseconds failure_delay{1000};
  std::chrono::milliseconds max_failure_delay{4000};
  std::chrono::milliseconds failure_memory{60000};
  // A client that lets this much output pile up unread is closed.
  size_t max_pending_output = 1024 * 1024;
  // While accepting fails for want of descriptors (or memory), the listener
  // rests this long between tries instead of being polled: a waiting client
  // keeps it readable, and the loop would spin.
  std::chrono::milliseconds accept_backoff{100};
};

// A remote-console server on 127.0.0.1, driven by one thread's readiness
// loop: the owner adds the server's sockets to its wait (WaitForReadiness),
// waits, and hands the result back to Service, which accepts, reads, answers
// passwords, runs commands and writes. Nothing blocks, and every command runs
// on the owner's thread. What it answers to each thing a client does is the
// table of "RCON over TCP" in docs/simulator.md.
class RconServer {
 public:
  // Runs one command line for a client; the request id is the packet's. The
  // replies go through Reply, now or later. It must not throw: a command's
  // failure is the command's to report, and the connection goes on.
  using Execute = std::function<void(ClientId client, int32_t request_id, std::string command)>;

  RconServer(std::string password, Execute execute, RconOptions options = {});
  ~RconServer();
  RconServer(const RconServer&) = delete;
  RconServer& operator=(const RconServer&) = delete;

  // Listens on 127.0.0.1:port (port 0: a free port, see Port()). False with the
  // reason in *error when the port cannot be had.
  bool Listen(uint16_t port, std::string* error);
  uint16_t Port() const { return port_; }

  // The listening socket and every client, with the events each waits for.
  void AppendPollFds(std::vector<PollFd>& fds) const;
  // How long the owner may wait before Service has work that no socket will
  // announce (a held answer, a password deadline or wait); -1: no limit.
  int PollTimeoutMs() const;
  // After the wait: fds may hold other records too; the server takes its own.
  void Service(const std::vector<PollFd>& fds);

  // Queues a reply; a body longer than one packet holds goes out as several
  // packets in order. Dropped silently when the client has gone.
  void Reply(ClientId client, int32_t request_id, int32_t type, const std::string& body);

  // Stops listening and closes every client, dropping unwritten output.
  void Close();

  size_t ClientCount() const { return clients_.size(); }

 private:
  struct Client {
    ClientId id = 0;
    Connection connection;
    Peer peer;
    bool authenticated = false;
    bool input_ended = false;    // the client sends no more
    bool password_held = false;  // a password waits for its address's turn
    bool closing = false;        // write what is queued, then close
    bool dead = false;           // close at the end of this pass
  };
  // The wrong passwords in a row from one address.
  struct Failures {
    int count = 0;
    Clock::time_point last{};
  };

  void Accept(Clock::time_point now);
  // Closes the oldest client without the right password; false when all have it.
  bool MakeRoom();
  bool ListenerResting(Clock::time_point now) const;
  void ServiceClient(Client& client, short revents, Clock::time_point now);
  // Handles every whole packet received, in order, up to a password whose
  // address must wait; marks the client dead or closing as they require.
  void HandleInbound(Client& client, Clock::time_point now);
  void HandlePacket(Client& client, Packet packet, Clock::time_point now);
  // When a password from this address may next be checked.
  Clock::time_point PasswordDue(uint32_t address) const;
  void RecordPassword(uint32_t address, bool accepted, Clock::time_point now);
  void AnswerPassword(Client& client, int32_t request_id, bool accepted);
  void Refuse(Client& client);
  void Flush(Client& client, Clock::time_point now);

  std::string password_;
  Execute execute_;
  RconOptions options_;
  UniqueSocket listener_;
  Clock::time_point accept_again_at_{};  // the listener rests until then
  uint16_t port_ = 0;
  ClientId next_id_ = 1;
  std::map<ClientId, std::unique_ptr<Client>> clients_;  // oldest first
  std::unordered_map<uint32_t, Failures> failures_;
  bool in_service_ = false;
  bool close_requested_ = false;
};

}  // namespace sim::rcon
