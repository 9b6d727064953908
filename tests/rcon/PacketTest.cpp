#include "sim/rcon/Packet.h"

#include <gtest/gtest.h>

#include <string>

#include "RawClient.h"

namespace sim::rcon {
namespace {

TEST(Packet, EncodesLittleEndianFieldsAndBothTerminators) {
  const std::string expected("\x0c\x00\x00\x00\x05\x01\x00\x00\x02\x00\x00\x00hi\x00\x00", 16);
  EXPECT_EQ(EncodePacket(0x105, kTypeExecCommand, "hi"), expected);
  EXPECT_EQ(EncodePacket(kRefusedId, kTypeAuthResponse, "").substr(4, 4), std::string(4, '\xff'));
}

TEST(Packet, BackToBackPacketsAreTakenOneAtATime) {
  const std::string bytes =
      EncodePacket(7, kTypeAuth, "pw") + EncodePacket(-3, kTypeExecCommand, "say hi");
  const ParseResult first = ParsePacket(bytes);
  ASSERT_EQ(first.status, ParseStatus::kPacket);
  EXPECT_EQ(first.packet.id, 7);
  EXPECT_EQ(first.packet.type, kTypeAuth);
  EXPECT_EQ(first.packet.body, "pw");
  const ParseResult second = ParsePacket(std::string_view(bytes).substr(first.consumed));
  ASSERT_EQ(second.status, ParseStatus::kPacket);
  EXPECT_EQ(second.packet.id, -3);
  EXPECT_EQ(second.packet.body, "say hi");
  EXPECT_EQ(first.consumed + second.consumed, bytes.size());
}

TEST(Packet, BodyRunsToItsFirstZeroAndTheSizeAloneSaysWhereThePacketEnds) {
  // No terminators at all: the size field still delimits the packet.
  const std::string bare = testing::RawPacket(10, 4, kTypeExecCommand, "ab").substr(0, 14);
  const ParseResult without = ParsePacket(bare + "tail");
  ASSERT_EQ(without.status, ParseStatus::kPacket);
  EXPECT_EQ(without.packet.body, "ab");
  EXPECT_EQ(without.consumed, 14u);

  std::string inner = EncodePacket(4, kTypeExecCommand, "ab");
  inner[13] = '\0';
  EXPECT_EQ(ParsePacket(inner).packet.body, "a");
}

}  // namespace
}  // namespace sim::rcon
