#pragma once

#include <string>

#include "sim/rcon/Socket.h"

// What each system's Socket.cpp gives the socket calls that every system
// shares (sim/rcon/Socket.cpp).
namespace sim::rcon::platform {

// A TCP socket that no program started by the simulator inherits. A listener's
// is non-blocking, and its port is never shared with another listener.
UniqueSocket NewSocket(bool listener);

// The next client waiting on the listener, non-blocking and not inherited, with
// its address in *address; invalid when none could be had, *starved telling
// whether that was for want of descriptors or memory.
UniqueSocket AcceptSocket(SocketHandle listener, sockaddr_in* address, bool* starved);

// "WHAT: " and the system's own words for the last socket error.
std::string SystemError(const std::string& what);

}  // namespace sim::rcon::platform
