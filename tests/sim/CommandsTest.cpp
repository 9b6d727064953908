#include <string>

#include "host/Commands.h"
#include "tests/sim/HostFixture.h"

namespace {

class Commands : public HostFixture {
 protected:
  std::string ran;
};

TEST_F(Commands, TheFirstWordNamesTheCommandIgnoringCaseAndConsoleAndRconAreSeparate) {
  AsaApi::GetCommands().AddConsoleCommand(
      FString("Gatehouse.Reload"),
      [this](APlayerController*, FString* line, bool) { ran = sim::ToUtf8(*line); });
  AsaApi::GetCommands().AddRconCommand(FString("Ping"),
                                       [this](RCONClientConnection*, RCONPacket* packet, UWorld*) {
                                         ran = std::to_string(packet->Id);
                                       });
  EXPECT_TRUE(sim::DispatchConsoleCommand(nullptr, FString("  gatehouse.RELOAD now please")));
  EXPECT_EQ(ran, "  gatehouse.RELOAD now please");
  for (const char* line : {"Gatehouse.Reloaded", "", "Ping"}) {
    EXPECT_FALSE(sim::DispatchConsoleCommand(nullptr, FString(line))) << line;
  }

  RCONPacket packet;
  packet.Id = 4;
  packet.Body = FString("ping");
  EXPECT_TRUE(sim::DispatchRconCommand(nullptr, packet, nullptr));
  EXPECT_EQ(ran, "4");
  EXPECT_TRUE(AsaApi::GetCommands().RemoveRconCommand(FString("Ping")));
  EXPECT_FALSE(AsaApi::GetCommands().RemoveRconCommand(FString("Ping")));
  EXPECT_FALSE(sim::DispatchRconCommand(nullptr, packet, nullptr));
}

TEST_F(Commands, ACommandMayRemoveItselfWhileItRunsAndAThrowingOneIsContained) {
  AsaApi::GetCommands().AddConsoleCommand(
      FString("Once"), [this](APlayerController*, FString*, bool) {
        AsaApi::GetCommands().RemoveConsoleCommand(FString("Once"));
        ran += "x";
      });
  AsaApi::GetCommands().AddConsoleCommand(
      FString("Boom"), [](APlayerController*, FString*, bool) { throw std::runtime_error("no"); });
  EXPECT_TRUE(sim::DispatchConsoleCommand(nullptr, FString("Once")));
  EXPECT_FALSE(sim::DispatchConsoleCommand(nullptr, FString("Once")));
  EXPECT_EQ(ran, "x");
  EXPECT_TRUE(sim::DispatchConsoleCommand(nullptr, FString("Boom")));
}

}  // namespace
