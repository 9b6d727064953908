#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sim::rcon {

// Packet types. A request and a reply share the value 2: the server reads it as
// a command, the client as the answer to its password.
inline constexpr int32_t kTypeAuth = 3;
inline constexpr int32_t kTypeAuthResponse = 2;
inline constexpr int32_t kTypeExecCommand = 2;
inline constexpr int32_t kTypeResponseValue = 0;

// The id of an answer that refuses a password or a request made before one.
inline constexpr int32_t kRefusedId = -1;

// On the wire a packet is a little-endian int32 size, then as many bytes: the
// int32 id, the int32 type, the body and its zero terminator, and one more zero
// (an empty second string). The size therefore counts at least 10 bytes, and we
// accept at most 4096 of them: a body of up to 4086 bytes. Anything outside
// that range cannot be a packet of this protocol, and the stream cannot be
// resynchronised after it.
inline constexpr size_t kSizeFieldBytes = 4;
inline constexpr int32_t kMinPacketSize = 10;
inline constexpr int32_t kMaxPacketSize = 4096;
inline constexpr size_t kMaxBodyBytes = kMaxPacketSize - kMinPacketSize;

struct Packet {
  int32_t id = 0;
  int32_t type = 0;
  std::string body;
};

enum class ParseStatus {
  kIncomplete,  // more bytes are needed before a packet can be taken
  kPacket,      // one packet taken from the front
  kMalformed,   // the size field is out of range
};

struct ParseResult {
  ParseStatus status = ParseStatus::kIncomplete;
  Packet packet;
  size_t consumed = 0;  // bytes taken from the front, for kPacket
};

// Takes the first packet from the front of the bytes received so far. The body
// ends at its first zero byte; a packet whose terminators are missing is taken
// as it is, since the size field alone says where it ends.
ParseResult ParsePacket(std::string_view bytes);

// One packet with this id, type and body. The body must fit kMaxBodyBytes;
// longer texts are sent as several packets by the caller.
std::string EncodePacket(int32_t id, int32_t type, std::string_view body);

}  // namespace sim::rcon
