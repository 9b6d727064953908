#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Per system: the socket handle, its invalid value and the poll record.
#include "NativeSocket.h"

// The TCP sockets of the simulated server and the loop's wait over them, the
// same calls on every system; Socket.cpp and platform/<system>/Socket.cpp
// implement them.
namespace sim::rcon {

void CloseSocket(SocketHandle socket);

// Sole owner of a socket: closes it when let go.
class UniqueSocket {
 public:
  UniqueSocket() = default;
  explicit UniqueSocket(SocketHandle socket) : socket_(socket) {}
  UniqueSocket(UniqueSocket&& other) noexcept
      : socket_(std::exchange(other.socket_, kInvalidSocket)) {}
  UniqueSocket& operator=(UniqueSocket&& other) noexcept {
    UniqueSocket taken(std::move(other));
    std::swap(socket_, taken.socket_);
    return *this;
  }
  UniqueSocket(const UniqueSocket&) = delete;
  UniqueSocket& operator=(const UniqueSocket&) = delete;
  ~UniqueSocket() { Reset(); }

  SocketHandle Get() const { return socket_; }
  bool Valid() const { return socket_ != kInvalidSocket; }
  // Gives the socket up without closing it.
  SocketHandle Release() { return std::exchange(socket_, kInvalidSocket); }
  void Reset() {
    if (Valid()) {
      CloseSocket(std::exchange(socket_, kInvalidSocket));
    }
  }

 private:
  SocketHandle socket_ = kInvalidSocket;
};

// Where a connection comes from: an IPv4 address in host order, and a port.
struct Peer {
  uint32_t address = 0;
  uint16_t port = 0;
};

// A non-blocking socket listening on 127.0.0.1:port (0: a free port, given in
// *bound_port). Invalid, with the reason in *error, when the port cannot be had
// (already taken included: the port is never shared with another listener).
UniqueSocket ListenOnLoopback(uint16_t port, uint16_t* bound_port, std::string* error);

// A blocking connection to 127.0.0.1:port, invalid when refused; *local (when
// given) receives this end's own address.
UniqueSocket ConnectToLoopback(uint16_t port, Peer* local = nullptr);

enum class AcceptStatus {
  kAccepted,
  kNoneWaiting,     // nobody waits, or the one who did gave up meanwhile
  kOutOfResources,  // descriptors or memory: the client stays queued
};
struct Accepted {
  AcceptStatus status = AcceptStatus::kNoneWaiting;
  UniqueSocket socket;  // non-blocking, small writes leave at once
  Peer peer;
};
Accepted AcceptClient(SocketHandle listener);

enum class TransferStatus { kMoved, kWouldBlock, kEndOfStream, kFailed };
struct Transfer {
  TransferStatus status = TransferStatus::kFailed;
  size_t bytes = 0;  // for kMoved
};
// One receive or send, retried when a signal interrupts it. A peer that has
// gone never raises a signal.
Transfer ReceiveSome(SocketHandle socket, char* into, size_t capacity);
Transfer SendSome(SocketHandle socket, const char* from, size_t count);

// Ends this side's sending: the peer reads the end of the stream.
void ShutdownSending(SocketHandle socket);

// Waits up to timeout_ms (-1: no limit) until one of the records is ready, and
// fills in their revents. The count of ready records, or -1 when the wait was
// interrupted (nothing is ready then).
int WaitForReadiness(std::vector<PollFd>& fds, int timeout_ms);

}  // namespace sim::rcon
