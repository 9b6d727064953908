#pragma once

#include "sim/rcon/Socket.h"

// The IPv4 address records both systems' socket calls take; each system's
// NativeSocket.h brings sockaddr_in and the byte-order functions.
namespace sim::rcon::platform {

inline sockaddr_in LoopbackAddress(uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

inline Peer PeerOf(const sockaddr_in& address) {
  return Peer{ntohl(address.sin_addr.s_addr), ntohs(address.sin_port)};
}

}  // namespace sim::rcon::platform
