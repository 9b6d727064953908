#include "sim/rcon/Packet.h"

#include <cassert>

namespace sim::rcon {
namespace {

int32_t ReadInt32(std::string_view bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) {
    value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  }
  return static_cast<int32_t>(value);
}

void AppendInt32(std::string& out, int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  for (size_t i = 0; i < 4; ++i) {
    out.push_back(static_cast<char>((bits >> (8 * i)) & 0xFFu));
  }
}

}  // namespace

ParseResult ParsePacket(std::string_view bytes) {
  ParseResult result;
  if (bytes.size() < kSizeFieldBytes) {
    return result;
  }
  const int32_t size = ReadInt32(bytes, 0);
  if (size < kMinPacketSize || size > kMaxPacketSize) {
    result.status = ParseStatus::kMalformed;
    return result;
  }
  const size_t total = kSizeFieldBytes + static_cast<size_t>(size);
  if (bytes.size() < total) {
    return result;
  }
  result.packet.id = ReadInt32(bytes, 4);
  result.packet.type = ReadInt32(bytes, 8);
  // Id and type take 8 of the size's bytes; the rest is the body and its two
  // terminators, of which the body runs to the first zero.
  const std::string_view rest = bytes.substr(12, static_cast<size_t>(size) - 8);
  result.packet.body = std::string(rest.substr(0, rest.find('\0')));
  result.status = ParseStatus::kPacket;
  result.consumed = total;
  return result;
}

std::string EncodePacket(int32_t id, int32_t type, std::string_view body) {
  assert(body.size() <= kMaxBodyBytes);
  std::string out;
  AppendInt32(out, static_cast<int32_t>(body.size()) + kMinPacketSize);
  AppendInt32(out, id);
  AppendInt32(out, type);
  out.append(body);
  out.append(2, '\0');  // the body's terminator, then the empty second string
  return out;
}

}  // namespace sim::rcon
