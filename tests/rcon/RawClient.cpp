#include "RawClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <cerrno>

namespace sim::rcon::testing {

RawClient::RawClient(uint16_t port) {
  UniqueFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  const timeval timeout{5, 0};
  ::setsockopt(socket.Get(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  ::setsockopt(socket.Get(), SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
    socket_ = std::move(socket);
  }
}

bool RawClient::Send(const std::string& bytes) {
  for (size_t sent = 0; sent < bytes.size();) {
    const ssize_t n = ::send(socket_.Get(), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) {
      return false;
    }
    sent += static_cast<size_t>(n);
  }
  return true;
}

bool RawClient::SendPacket(int32_t id, int32_t type, const std::string& body) {
  std::string bytes;
  AppendPacket(bytes, id, type, body);
  return Send(bytes);
}

bool RawClient::ReadExactly(char* into, size_t count) {
  for (size_t got = 0; got < count;) {
    const ssize_t n = ::recv(socket_.Get(), into + got, count - got, 0);
    if (n <= 0) {
      return false;
    }
    got += static_cast<size_t>(n);
  }
  return true;
}

std::optional<Packet> RawClient::ReadPacket() {
  std::string bytes(kSizeFieldBytes, '\0');
  if (!ReadExactly(bytes.data(), kSizeFieldBytes) ||
      ParsePacket(bytes).status == ParseStatus::kMalformed) {
    return std::nullopt;
  }
  uint32_t size = 0;
  for (size_t i = kSizeFieldBytes; i-- > 0;) {
    size = size << 8 | static_cast<unsigned char>(bytes[i]);
  }
  bytes.resize(kSizeFieldBytes + size);
  if (!ReadExactly(bytes.data() + kSizeFieldBytes, size)) {
    return std::nullopt;
  }
  return ParsePacket(bytes).packet;
}

std::string RawClient::ReadOnce() {
  char buffer[65536];
  const ssize_t n = ::recv(socket_.Get(), buffer, sizeof buffer, 0);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

bool RawClient::WaitClosed() {
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::recv(socket_.Get(), buffer, sizeof buffer, 0);
    if (n <= 0) {
      return n == 0 || errno == ECONNRESET;
    }
  }
}

bool RawClient::Authenticate(const std::string& password, int32_t id) {
  if (!SendPacket(id, kTypeAuth, password)) {
    return false;
  }
  const auto empty = ReadPacket();
  const auto answer = ReadPacket();
  return empty && answer && answer->type == kTypeAuthResponse && answer->id == id;
}

void RawClient::ShutdownSending() {
  ::shutdown(socket_.Get(), SHUT_WR);
}

std::string RawPacket(int32_t size, int32_t id, int32_t type, const std::string& body) {
  std::string bytes;
  AppendPacket(bytes, id, type, body);
  for (size_t i = 0; i < 4; ++i) {
    bytes[i] = static_cast<char>(static_cast<uint32_t>(size) >> (8 * i));
  }
  return bytes;
}

}  // namespace sim::rcon::testing
