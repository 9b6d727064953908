#include "sim/rcon/Socket.h"

// After winsock2.h, which Socket.h brings.
#include <windows.h>

#include <algorithm>

#include "sim/rcon/platform/SocketCalls.h"

namespace sim::rcon {
namespace {

// Winsock must be started once before the first socket; it stays up for the
// process's life.
bool StartWinsock() {
  static const bool started = [] {
    WSADATA data{};
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}

bool MakeNonBlocking(SocketHandle socket) {
  u_long on = 1;
  return ioctlsocket(socket, FIONBIO, &on) == 0;
}

}  // namespace

namespace platform {

UniqueSocket NewSocket(bool listener) {
  if (!StartWinsock()) {
    return {};
  }
  UniqueSocket socket(
      WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT));
  if (listener && socket.Valid()) {
    // Without it, another program's listener on the same port could take our
    // clients; with it, a port in use is refused like on other systems.
    const BOOL on = TRUE;
    setsockopt(socket.Get(), SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on),
               sizeof on);
    if (!MakeNonBlocking(socket.Get())) {
      return {};
    }
  }
  return socket;
}

UniqueSocket AcceptSocket(SocketHandle listener, sockaddr_in* address, bool* starved) {
  int length = sizeof *address;
  UniqueSocket socket(accept(listener, reinterpret_cast<sockaddr*>(address), &length));
  if (!socket.Valid()) {
    const int code = WSAGetLastError();
    *starved = code == WSAEMFILE || code == WSAENOBUFS;
    return {};
  }
  SetHandleInformation(reinterpret_cast<HANDLE>(socket.Get()), HANDLE_FLAG_INHERIT, 0);
  // Unusable without it: the loop must never block on one client.
  return MakeNonBlocking(socket.Get()) ? std::move(socket) : UniqueSocket();
}

// The system's own words for a Winsock error, in UTF-8.
std::string SystemError(const std::string& what) {
  const int code = WSAGetLastError();
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message;
  if (length != 0) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0,
                                          nullptr, nullptr);
    message.resize(static_cast<size_t>(bytes));
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), message.data(), bytes, nullptr,
                        nullptr);
  }
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == ' ' || message.back() == '.')) {
    message.pop_back();
  }
  return what + ": " + (message.empty() ? "error " + std::to_string(code) : message);
}

}  // namespace platform

void CloseSocket(SocketHandle socket) {
  closesocket(socket);
}

Transfer ReceiveSome(SocketHandle socket, char* into, size_t capacity) {
  const int got = recv(socket, into, static_cast<int>(std::min<size_t>(capacity, 1 << 30)), 0);
  if (got > 0) {
    return {TransferStatus::kMoved, static_cast<size_t>(got)};
  }
  if (got == 0) {
    return {TransferStatus::kEndOfStream, 0};
  }
  return {
      WSAGetLastError() == WSAEWOULDBLOCK ? TransferStatus::kWouldBlock : TransferStatus::kFailed,
      0};
}

Transfer SendSome(SocketHandle socket, const char* from, size_t count) {
  const int sent = send(socket, from, static_cast<int>(std::min<size_t>(count, 1 << 30)), 0);
  if (sent >= 0) {
    return {TransferStatus::kMoved, static_cast<size_t>(sent)};
  }
  return {
      WSAGetLastError() == WSAEWOULDBLOCK ? TransferStatus::kWouldBlock : TransferStatus::kFailed,
      0};
}

void ShutdownSending(SocketHandle socket) {
  shutdown(socket, SD_SEND);
}

int WaitForReadiness(std::vector<PollFd>& fds, int timeout_ms) {
  // WSAPoll refuses an empty set; a pass without sockets only waits.
  if (fds.empty()) {
    Sleep(timeout_ms < 0 ? INFINITE : static_cast<DWORD>(timeout_ms));
    return 0;
  }
  const int ready = WSAPoll(fds.data(), static_cast<ULONG>(fds.size()), timeout_ms);
  return ready == SOCKET_ERROR ? -1 : ready;
}

}  // namespace sim::rcon
