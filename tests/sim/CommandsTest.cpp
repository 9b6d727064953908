#include <string>

#include "host/Commands.h"
#include "tests/sim/HostFixture.h"

namespace {

class Commands : public HostFixture {
 protected:
  std::string ran;
};

TEST_F(Commands, TheFirstWordNamesTheCommandIgnoringCase) {
  AsaApi::GetCommands().AddConsoleCommand(
      FString("Gatehouse.Reload"),
      [this](APlayerController*, FString* line, bool) { ran = sim::ToUtf8(*line); });
  EXPECT_TRUE(sim::DispatchConsoleCommand(nullptr, FString("  gatehouse.RELOAD now please")));
  EXPECT_EQ(ran, "  gatehouse.RELOAD now please");
  EXPECT_FALSE(sim::DispatchConsoleCommand(nullptr, FString("Gatehouse.Reloaded")));
  EXPECT_FALSE(sim::DispatchConsoleCommand(nullptr, FString("")));
}

TEST_F(Commands, ConsoleAndRconCommandsAreSeparate) {
  AsaApi::GetCommands().AddRconCommand(FString("Ping"),
                                       [this](RCONClientConnection*, RCONPacket* packet, UWorld*) {
                                         ran = std::to_string(packet->Id);
                                       });
  EXPECT_FALSE(sim::DispatchConsoleCommand(nullptr, FString("Ping")));
  RCONPacket packet;
  packet.Id = 4;
  packet.Body = FString("ping");
  EXPECT_TRUE(sim::DispatchRconCommand(nullptr, packet, nullptr));
  EXPECT_EQ(ran, "4");
  EXPECT_TRUE(AsaApi::GetCommands().RemoveRconCommand(FString("Ping")));
  EXPECT_FALSE(AsaApi::GetCommands().RemoveRconCommand(FString("Ping")));
  EXPECT_FALSE(sim::DispatchRconCommand(nullptr, packet, nullptr));
}

TEST_F(Commands, ACommandMayRemoveItselfWhileItRuns) {
  AsaApi::GetCommands().AddConsoleCommand(
      FString("Once"), [this](APlayerController*, FString*, bool) {
        AsaApi::GetCommands().RemoveConsoleCommand(FString("Once"));
        ran += "x";
      });
  EXPECT_TRUE(sim::DispatchConsoleCommand(nullptr, FString("Once")));
  EXPECT_FALSE(sim::DispatchConsoleCommand(nullptr, FString("Once")));
  EXPECT_EQ(ran, "x");
}

TEST_F(Commands, AThrowingCommandIsContained) {
  AsaApi::GetCommands().AddConsoleCommand(
      FString("Boom"), [](APlayerController*, FString*, bool) { throw std::runtime_error("no"); });
  EXPECT_TRUE(sim::DispatchConsoleCommand(nullptr, FString("Boom")));
}

TEST_F(Commands, TraceNamesEachRegistrationAndRemoval) {
  sim::SetTrace(true);
  AsaApi::GetCommands().AddRconCommand(FString("Gatehouse.Reload"), {});
  AsaApi::GetCommands().AddConsoleCommand(FString("Gatehouse.Reload"), {});
  AsaApi::GetCommands().RemoveConsoleCommand(FString("Gatehouse.Reload"));
  AsaApi::GetCommands().RemoveRconCommand(FString("Gatehouse.Reload"));
  EXPECT_EQ(lines, (std::vector<std::string>{"host: add rcon command Gatehouse.Reload",
                                             "host: add console command Gatehouse.Reload",
                                             "host: remove console command Gatehouse.Reload",
                                             "host: remove rcon command Gatehouse.Reload"}));
}

}  // namespace
