#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

namespace sim::rcon {

// A socket is a file descriptor here, and readiness is waited for with poll(2),
// which takes any descriptor: standard input joins the same wait.
using SocketHandle = int;
inline constexpr SocketHandle kInvalidSocket = -1;
using PollFd = pollfd;

}  // namespace sim::rcon
