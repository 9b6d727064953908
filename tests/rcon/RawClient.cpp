#include "RawClient.h"

#include <vector>

namespace sim::rcon::testing {
namespace {

constexpr int kReadTimeoutMs = 5000;

// Waits until the socket has something to read (or has ended); false after
// the read timeout.
bool Readable(SocketHandle socket) {
  std::vector<PollFd> fds{{socket, POLLIN, 0}};
  return WaitForReadiness(fds, kReadTimeoutMs) > 0;
}

}  // namespace

RawClient::RawClient(uint16_t port) : socket_(ConnectToLoopback(port)) {}

bool RawClient::Send(const std::string& bytes) {
  for (size_t sent = 0; sent < bytes.size();) {
    const Transfer moved = SendSome(socket_.Get(), bytes.data() + sent, bytes.size() - sent);
    if (moved.status != TransferStatus::kMoved) {
      return false;
    }
    sent += moved.bytes;
  }
  return true;
}

bool RawClient::SendPacket(int32_t id, int32_t type, const std::string& body) {
  return Send(EncodePacket(id, type, body));
}

bool RawClient::ReadExactly(char* into, size_t count) {
  for (size_t got = 0; got < count;) {
    if (!Readable(socket_.Get())) {
      return false;
    }
    const Transfer moved = ReceiveSome(socket_.Get(), into + got, count - got);
    if (moved.status != TransferStatus::kMoved) {
      return false;
    }
    got += moved.bytes;
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
  if (!Readable(socket_.Get())) {
    return {};
  }
  const Transfer moved = ReceiveSome(socket_.Get(), buffer, sizeof buffer);
  return moved.status == TransferStatus::kMoved ? std::string(buffer, moved.bytes) : std::string();
}

bool RawClient::WaitClosed() {
  char buffer[4096];
  for (;;) {
    if (!Readable(socket_.Get())) {
      return false;
    }
    const Transfer moved = ReceiveSome(socket_.Get(), buffer, sizeof buffer);
    if (moved.status != TransferStatus::kMoved) {
      // The end of the stream, or a reset by a server that closed with our
      // bytes unread.
      return moved.status != TransferStatus::kWouldBlock;
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
  rcon::ShutdownSending(socket_.Get());
}

std::string RawPacket(int32_t size, int32_t id, int32_t type, const std::string& body) {
  std::string bytes = EncodePacket(id, type, body);
  for (size_t i = 0; i < 4; ++i) {
    bytes[i] = static_cast<char>(static_cast<uint32_t>(size) >> (8 * i));
  }
  return bytes;
}

}  // namespace sim::rcon::testing
