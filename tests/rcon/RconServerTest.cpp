#include "sim/rcon/RconServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "RawClient.h"
#include "ServerThread.h"

namespace sim::rcon::testing {
namespace {

using namespace std::chrono_literals;

// A command whose reply arrives means the server, and this client's session on
// it, still work.
void ExpectServed(RawClient& client, int32_t id, const std::string& command) {
  ASSERT_TRUE(client.SendPacket(id, kTypeExecCommand, command));
  const auto reply = client.ReadPacket();
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->id, id);
  EXPECT_EQ(reply->type, kTypeResponseValue);
  EXPECT_EQ(reply->body, "echo: " + command);
}

std::unique_ptr<RawClient> LoggedIn(const ServerThread& server) {
  auto client = std::make_unique<RawClient>(server.Port());
  EXPECT_TRUE(client->Authenticate(kPassword));
  return client;
}

TEST(RconAuth, RightPasswordIsAnsweredByAnEmptyValueThenTheAuthResponseInSeparateReads) {
  ServerThread server(RconOptions{});
  RawClient client(server.Port());
  ASSERT_TRUE(client.SendPacket(42, kTypeAuth, kPassword));
  // A client that reads one packet per read, and reads late, must still find
  // each packet alone.
  std::this_thread::sleep_for(30ms);
  for (const auto& [bytes, type] : {std::pair{client.ReadOnce(), kTypeResponseValue},
                                    std::pair{client.ReadOnce(), kTypeAuthResponse}}) {
    const ParseResult read = ParsePacket(bytes);
    ASSERT_EQ(read.status, ParseStatus::kPacket);
    EXPECT_EQ(read.consumed, bytes.size());
    EXPECT_EQ(read.packet.type, type);
    EXPECT_EQ(read.packet.id, 42);
  }
  ExpectServed(client, 43, "Gatehouse.Reload extra words");
  EXPECT_EQ(server.Commands(), std::vector<std::string>{"Gatehouse.Reload extra words"});
}

TEST(RconAuth, WrongPasswordIsRefusedWithIdMinusOneAndTheClientMayTryAgain) {
  ServerThread server;
  RawClient client(server.Port());
  ASSERT_TRUE(client.SendPacket(5, kTypeAuth, "wrong"));
  const auto empty = client.ReadPacket();
  const auto answer = client.ReadPacket();
  ASSERT_TRUE(empty && answer);
  EXPECT_EQ(empty->id, kRefusedId);
  EXPECT_EQ(answer->id, kRefusedId);
  EXPECT_EQ(answer->type, kTypeAuthResponse);
  EXPECT_TRUE(client.Authenticate(kPassword, 6));
  ExpectServed(client, 7, "status");
}

TEST(RconAuth, AnythingButAPasswordFirstIsRefusedAndClosedWithoutRunning) {
  ServerThread server;
  for (const int32_t type : {kTypeExecCommand, kTypeResponseValue, 99}) {
    RawClient client(server.Port());
    ASSERT_TRUE(client.SendPacket(9, type, "Gatehouse.Reload"));
    const auto answer = client.ReadPacket();
    ASSERT_TRUE(answer) << type;
    EXPECT_EQ(answer->type, kTypeAuthResponse);
    EXPECT_EQ(answer->id, kRefusedId);
    EXPECT_TRUE(client.WaitClosed()) << type;
  }
  EXPECT_TRUE(server.Commands().empty());
}

TEST(RconReplies, KeepTheirOrderLongBodiesSplitAndTheEndMarkerComesLast) {
  const std::string long_body(2 * kMaxBodyBytes + 10, 'L');
  ServerThread server({}, [&](RconServer& rcon, ClientId client, int32_t id, const std::string&) {
    for (const std::string& body : {std::string("first"), long_body, std::string()}) {
      rcon.Reply(client, id, kTypeResponseValue, body);
    }
  });
  const auto client = LoggedIn(server);
  // Sent together: a command and the empty value some clients use to find the
  // end of a reply split over several packets.
  ASSERT_TRUE(client->Send(EncodePacket(10, kTypeExecCommand, "list") +
                           EncodePacket(11, kTypeResponseValue, "")));
  std::vector<std::string> bodies;
  for (int i = 0; i < 6; ++i) {
    const auto packet = client->ReadPacket();
    ASSERT_TRUE(packet) << i;
    EXPECT_EQ(packet->id, i < 5 ? 10 : 11);
    bodies.push_back(packet->body);
  }
  EXPECT_EQ(bodies[0], "first");
  EXPECT_EQ(bodies[1] + bodies[2] + bodies[3], long_body);
  EXPECT_EQ(bodies[4] + bodies[5], "");
}

TEST(RconReplies, AReplyForAClientThatHasGoneIsDropped) {
  ClientId gone = 0;
  ServerThread server(
      {}, [&](RconServer& rcon, ClientId client, int32_t id, const std::string& command) {
        if (command == "remember") {
          gone = client;
          return;
        }
        rcon.Reply(gone, 1, kTypeResponseValue, "late");
        rcon.Reply(client, id, kTypeResponseValue, "echo: " + command);
      });
  {
    const auto first = LoggedIn(server);
    ASSERT_TRUE(first->SendPacket(1, kTypeExecCommand, "remember"));
    ASSERT_TRUE(server.WaitForCommandCount(1));
  }
  ASSERT_TRUE(server.WaitForClientCount(0));
  ExpectServed(*LoggedIn(server), 2, "after");
}

TEST(RconBadInput, SizeFieldsOutOfRangeCloseOnlyThatConnectionAndTheLargestIsServed) {
  ServerThread server;
  const auto bystander = LoggedIn(server);
  for (const int32_t size : {-1, 0, 9, kMaxPacketSize + 1, 0x7fffffff}) {
    for (const bool authenticated : {false, true}) {
      RawClient client(server.Port());
      if (authenticated) {
        ASSERT_TRUE(client.Authenticate(kPassword));
      }
      ASSERT_TRUE(client.Send(RawPacket(size, 3, kTypeExecCommand, "Gatehouse.Reload")));
      EXPECT_TRUE(client.WaitClosed()) << size;
    }
  }
  const std::string largest(kMaxBodyBytes, 'c');
  ASSERT_TRUE(bystander->SendPacket(1, kTypeExecCommand, largest));
  ASSERT_TRUE(bystander->ReadPacket());
  EXPECT_EQ(server.Commands(), std::vector<std::string>{largest});
}

TEST(RconBadInput, APacketArrivingByteByByteRunsOnceWhole) {
  ServerThread server;
  const auto client = LoggedIn(server);
  for (const char byte : EncodePacket(8, kTypeExecCommand, "slow")) {
    ASSERT_TRUE(client->Send(std::string(1, byte)));
    std::this_thread::sleep_for(2ms);
  }
  ASSERT_TRUE(client->ReadPacket());
  EXPECT_EQ(server.Commands(), std::vector<std::string>{"slow"});
}

TEST(RconBadInput, ClientsThatLeaveMidPacketOrNeverSpeakDoNotStopTheOthers) {
  RconOptions options = TestOptions();
  options.auth_timeout = 300ms;
  ServerThread server(options);
  const auto talker = LoggedIn(server);
  // Connected last, so that logging the others in does not use up its time.
  std::unique_ptr<RawClient> silent;
  {
    const auto leaver = LoggedIn(server);
    const std::string bytes = EncodePacket(2, kTypeExecCommand, "never finished");
    ASSERT_TRUE(leaver->Send(bytes.substr(0, bytes.size() - 3)));
    silent = std::make_unique<RawClient>(server.Port());
    ASSERT_TRUE(server.WaitForClientCount(3));
  }
  ExpectServed(*talker, 3, "go on");
  // The silent client is let go once its time to give a password is up; the
  // logged-in one stays.
  EXPECT_TRUE(silent->WaitClosed());
  ASSERT_TRUE(server.WaitForClientCount(1));
  ExpectServed(*talker, 4, "still");
  EXPECT_EQ(server.Commands(), (std::vector<std::string>{"go on", "still"}));
}

TEST(RconBadInput, AClientThatStopsSendingStillGetsItsAnswers) {
  ServerThread server;
  const auto client = LoggedIn(server);
  ASSERT_TRUE(client->SendPacket(12, kTypeExecCommand, "bye"));
  client->ShutdownSending();
  const auto reply = client->ReadPacket();
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->body, "echo: bye");
  EXPECT_TRUE(client->WaitClosed());
}

TEST(RconLoad, ManyClientsAtOnceAreAllServed) {
  constexpr int kClients = 80;
  ServerThread server;
  std::vector<std::unique_ptr<RawClient>> clients;
  for (int i = 0; i < kClients; ++i) {
    clients.push_back(std::make_unique<RawClient>(server.Port()));
    ASSERT_TRUE(clients.back()->Connected()) << i;
  }
  ASSERT_TRUE(server.WaitForClientCount(kClients));
  // All passwords first, then all commands, so that every client is open and
  // waiting at the same time.
  for (int i = 0; i < kClients; ++i) {
    ASSERT_TRUE(clients[i]->SendPacket(i, kTypeAuth, kPassword));
  }
  for (int i = 0; i < kClients; ++i) {
    ASSERT_TRUE(clients[i]->ReadPacket() && clients[i]->ReadPacket()) << i;
    ASSERT_TRUE(clients[i]->SendPacket(1000 + i, kTypeExecCommand, "n" + std::to_string(i)));
  }
  for (int i = 0; i < kClients; ++i) {
    const auto reply = clients[i]->ReadPacket();
    ASSERT_TRUE(reply) << i;
    EXPECT_EQ(reply->id, 1000 + i);
    EXPECT_EQ(reply->body, "echo: n" + std::to_string(i));
  }
  clients.clear();
  EXPECT_TRUE(server.WaitForClientCount(0));
}

TEST(RconSlots, ConnectionsPastTheLimitAreClosedAtOnceWhenEveryOneHasLoggedIn) {
  RconOptions options = TestOptions();
  options.max_clients = 2;
  ServerThread server(options);
  const auto first = LoggedIn(server);
  const auto second = LoggedIn(server);
  RawClient third(server.Port());
  EXPECT_TRUE(third.WaitClosed());
  ExpectServed(*first, 2, "fine");
}

// Connections that never give a password hold every slot: a newcomer takes the
// oldest one's slot, so the operator gets in, and once in is never the one
// that makes room.
TEST(RconSlots, IdleConnectionsHoldingEverySlotDoNotKeepTheOperatorOut) {
  const size_t slots = RconOptions{}.max_clients;
  ServerThread server;
  std::vector<std::unique_ptr<RawClient>> idle;
  for (size_t i = 0; i < slots; ++i) {
    idle.push_back(std::make_unique<RawClient>(server.Port()));
    ASSERT_TRUE(idle.back()->Connected()) << i;
  }
  ASSERT_TRUE(server.WaitForClientCount(slots));
  const auto operator_client = LoggedIn(server);
  ExpectServed(*operator_client, 1, "in");
  EXPECT_TRUE(idle.front()->WaitClosed());
  // The idle ones come back as fast as they go: the operator stays.
  for (size_t i = 0; i < slots; ++i) {
    idle.push_back(std::make_unique<RawClient>(server.Port()));
  }
  ASSERT_TRUE(server.WaitForClientCount(slots));
  ExpectServed(*operator_client, 2, "still in");
}

// Sends a wrong password and waits for both answers; the time they took.
std::chrono::steady_clock::duration TimeToRefuse(RawClient& client, int32_t id) {
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(client.SendPacket(id, kTypeAuth, "wrong"));
  const auto empty = client.ReadPacket();
  const auto answer = client.ReadPacket();
  EXPECT_TRUE(empty && answer && answer->id == kRefusedId) << id;
  return std::chrono::steady_clock::now() - start;
}

// Past the free tries, each password from the address waits for the one
// before it plus a doubling delay, whichever connection it comes on; the
// right password is still taken after that wait, and clears the address.
// The delays are short so that the test is; every bound is a share of them.
TEST(RconPasswords, RepeatedWrongOnesFromOneAddressAreSlowedDown) {
  constexpr auto kDelay = 150ms;
  RconOptions options = TestOptions();
  options.free_password_failures = 2;
  options.failure_delay = kDelay;
  options.max_failure_delay = 2 * kDelay;
  options.auth_timeout = 30s;
  ServerThread server(options);
  RawClient guesser(server.Port());
  EXPECT_LT(TimeToRefuse(guesser, 1) + TimeToRefuse(guesser, 2), kDelay);
  // Each wait counts from the wrong password before; the answer to that one
  // took at least its pause, which the next answer's own pause makes up.
  EXPECT_GE(TimeToRefuse(guesser, 3), kDelay * 9 / 10);
  RawClient second(server.Port());
  EXPECT_GE(TimeToRefuse(second, 4), 2 * kDelay * 9 / 10);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(second.Authenticate(kPassword, 5));
  EXPECT_GE(std::chrono::steady_clock::now() - start, kDelay * 3 / 2);
  ExpectServed(second, 6, "in");
  EXPECT_LT(TimeToRefuse(guesser, 7), kDelay);
}

TEST(RconLifecycle, ListenReportsABusyPortAndCloseStopsListening) {
  RconServer server(kPassword, [](ClientId, int32_t, std::string) {});
  std::string error;
  ASSERT_TRUE(server.Listen(0, &error)) << error;
  const uint16_t port = server.Port();
  RconServer rival(kPassword, [](ClientId, int32_t, std::string) {});
  EXPECT_FALSE(rival.Listen(port, &error));
  EXPECT_NE(error.find(std::to_string(port)), std::string::npos) << error;
  server.Close();
  EXPECT_FALSE(RawClient(port).Connected());
}

}  // namespace
}  // namespace sim::rcon::testing
