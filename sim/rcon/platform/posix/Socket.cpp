#include "sim/rcon/Socket.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "sim/rcon/platform/SocketCalls.h"

namespace sim::rcon {

namespace platform {

UniqueSocket NewSocket(bool listener) {
  UniqueSocket socket(
      ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | (listener ? SOCK_NONBLOCK : 0), 0));
  if (listener && socket.Valid()) {
    // Here the option only lets a restarted server take its port back from
    // connections still closing; a listener on the port still refuses us.
    const int on = 1;
    ::setsockopt(socket.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  }
  return socket;
}

UniqueSocket AcceptSocket(SocketHandle listener, sockaddr_in* address, bool* starved) {
  socklen_t length = sizeof *address;
  UniqueSocket socket(::accept4(listener, reinterpret_cast<sockaddr*>(address), &length,
                                SOCK_NONBLOCK | SOCK_CLOEXEC));
  *starved = errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM;
  return socket;
}

std::string SystemError(const std::string& what) {
  return what + ": " + std::strerror(errno);
}

}  // namespace platform

void CloseSocket(SocketHandle socket) {
  ::close(socket);
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
