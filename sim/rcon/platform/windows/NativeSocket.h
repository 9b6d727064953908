#pragma once

// Before windows.h anywhere: it would otherwise bring the old socket header.
#include <winsock2.h>
#include <ws2tcpip.h>

namespace sim::rcon {

// A socket is a Winsock handle here, and readiness is waited for with WSAPoll,
// which takes sockets only (standard input reaches the loop through one).
using SocketHandle = SOCKET;
inline constexpr SocketHandle kInvalidSocket = INVALID_SOCKET;
using PollFd = WSAPOLLFD;

}  // namespace sim::rcon
