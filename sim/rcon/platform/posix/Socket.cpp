#include "sim/rcon/Socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "sim/rcon/platform/LoopbackAddress.h"

namespace sim::rcon {
namespace {

std::string SystemError(const std::string& what) {
  return what + ": " + std::strerror(errno);
}

using platform::LoopbackAddress;
using platform::PeerOf;

}  // namespace

void CloseSocket(SocketHandle socket) {
  ::close(socket);
}

UniqueSocket ListenOnLoopback(uint16_t port, uint16_t* bound_port, std::string* error) {
  UniqueSocket socket(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!socket.Valid()) {
    *error = SystemError("socket");
    return {};
  }
  // Here the option only lets a restarted server take its port back from
  // connections still closing; a listener on the port still refuses us.
  const int on = 1;
  ::setsockopt(socket.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address = LoopbackAddress(port);
  if (::bind(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    *error = SystemError("bind 127.0.0.1:" + std::to_string(port));
    return {};
  }
  if (::listen(socket.Get(), SOMAXCONN) != 0) {
    *error = SystemError("listen");
    return {};
  }
  socklen_t length = sizeof address;
  if (::getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    *error = SystemError("getsockname");
    return {};
  }
  *bound_port = ntohs(address.sin_port);
  return socket;
}

UniqueSocket ConnectToLoopback(uint16_t port, Peer* local) {
  UniqueSocket socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
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
  socklen_t length = sizeof address;
  accepted.socket = UniqueSocket(::accept4(listener, reinterpret_cast<sockaddr*>(&address), &length,
                                           SOCK_NONBLOCK | SOCK_CLOEXEC));
  if (!accepted.socket.Valid()) {
    const bool starved = errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM;
    accepted.status = starved ? AcceptStatus::kOutOfResources : AcceptStatus::kNoneWaiting;
    return accepted;
  }
  const int on = 1;
  ::setsockopt(accepted.socket.Get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  accepted.status = AcceptStatus::kAccepted;
  accepted.peer = PeerOf(address);
  return accepted;
}

Transfer ReceiveSome(SocketHandle socket, char* into, size_t capacity) {
  for (;;) {
    const ssize_t got = ::recv(socket, into, capacity, 0);
    if (got > 0) {
      return {TransferStatus::kMoved, static_cast<size_t>(got)};
    }
    if (got == 0) {
      return {TransferStatus::kEndOfStream, 0};
    }
    if (errno != EINTR) {
      const bool later = errno == EAGAIN || errno == EWOULDBLOCK;
      return {later ? TransferStatus::kWouldBlock : TransferStatus::kFailed, 0};
    }
  }
}

Transfer SendSome(SocketHandle socket, const char* from, size_t count) {
  for (;;) {
    const ssize_t sent = ::send(socket, from, count, MSG_NOSIGNAL);
    if (sent >= 0) {
      return {TransferStatus::kMoved, static_cast<size_t>(sent)};
    }
    if (errno != EINTR) {
      const bool later = errno == EAGAIN || errno == EWOULDBLOCK;
      return {later ? TransferStatus::kWouldBlock : TransferStatus::kFailed, 0};
    }
  }
}

void ShutdownSending(SocketHandle socket) {
  ::shutdown(socket, SHUT_WR);
}

int WaitForReadiness(std::vector<PollFd>& fds, int timeout_ms) {
  return ::poll(fds.data(), fds.size(), timeout_ms);
}

}  // namespace sim::rcon
