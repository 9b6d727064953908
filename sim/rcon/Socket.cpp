// The socket calls that are the same on every system; the rest is in
// platform/<system>/Socket.cpp.

#include "sim/rcon/Socket.h"

#include "sim/rcon/platform/SocketCalls.h"

namespace sim::rcon {
namespace {

sockaddr_in LoopbackAddress(uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

Peer PeerOf(const sockaddr_in& address) {
  return Peer{ntohl(address.sin_addr.s_addr), ntohs(address.sin_port)};
}

}  // namespace

UniqueSocket ListenOnLoopback(uint16_t port, uint16_t* bound_port, std::string* error) {
  UniqueSocket socket = platform::NewSocket(/*listener=*/true);
  sockaddr_in address = LoopbackAddress(port);
  socklen_t length = sizeof address;
  if (!socket.Valid()) {
    *error = platform::SystemError("socket");
  } else if (::bind(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) !=
             0) {
    *error = platform::SystemError("bind 127.0.0.1:" + std::to_string(port));
  } else if (::listen(socket.Get(), SOMAXCONN) != 0) {
    *error = platform::SystemError("listen");
  } else if (::getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    *error = platform::SystemError("getsockname");
  } else {
    *bound_port = ntohs(address.sin_port);
    return socket;
  }
  return {};
}

UniqueSocket ConnectToLoopback(uint16_t port, Peer* local) {
  UniqueSocket socket = platform::NewSocket(/*listener=*/false);
  const sockaddr_in address = LoopbackAddress(port);
  if (!socket.Valid() ||
      ::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    return {};
  }
  if (local != nullptr) {
    sockaddr_in own{};
    socklen_t length = sizeof own;
    ::getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&own), &length);
    *local = PeerOf(own);
  }
  return socket;
}

Accepted AcceptClient(SocketHandle listener) {
  Accepted accepted;
  sockaddr_in address{};
  bool starved = false;
  accepted.socket = platform::AcceptSocket(listener, &address, &starved);
  if (!accepted.socket.Valid()) {
    accepted.status = starved ? AcceptStatus::kOutOfResources : AcceptStatus::kNoneWaiting;
    return accepted;
  }
  const int on = 1;
  ::setsockopt(accepted.socket.Get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on),
               sizeof on);
  accepted.status = AcceptStatus::kAccepted;
  accepted.peer = PeerOf(address);
  return accepted;
}

}  // namespace sim::rcon
