#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "PluginTest.h"
#include "config/ReloadCommands.h"
#include "config/Settings.h"
#include "sim/framework/SimHost.h"
#include "sim/game/EngineObjects.h"

namespace {

constexpr char kBrokenMessage[] =
    "Failed to read config! [json.exception.parse_error.101] parse error at line 1, column 42: "
    "syntax error while parsing value - unexpected end of input; expected '[', '{', or a literal";

}  // namespace

class Reload : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    WriteConfig(R"({"KickTimer": 1})");
    LoadPlugin();
    connection_.reply = [this](int32_t id, int32_t type, const std::string& body) {
      replies_.emplace_back(id, type, body);
    };
  }

  bool Console(const std::string& player, const std::string& line) {
    return sim::DispatchConsoleCommand(Game().FindPlayer(player), FString(line.c_str()));
  }

  bool Rcon(int32_t id, const std::string& line) {
    RCONPacket packet;
    packet.Id = id;
    packet.Type = 2;
    packet.Body = FString(line.c_str());
    return sim::DispatchRconCommand(&connection_, packet, Game().World());
  }

  RCONClientConnection connection_;
  std::vector<std::tuple<int32_t, int32_t, std::string>> replies_;
};

TEST_F(Reload, ConsoleReloadTellsThePlayerInGreen) {
  Game().Join("alice");
  WriteConfig(R"({"KickTimer": 7})");
  ClearServerLines();
  ASSERT_TRUE(Console("alice", "Gatehouse.Reload now please"));
  EXPECT_EQ(Settings::KickTimer(), 7);
  EXPECT_EQ(ServerLines(), (std::vector<std::string>{"message alice [0 1 0 1]: Reloaded Config!"}));
  EXPECT_TRUE(LogRecords().empty());
}

TEST_F(Reload, ConsoleReloadWithoutPlayerDoesNothing) {
  WriteConfig(R"({"KickTimer": 7})");
  ConsoleReload(nullptr, nullptr, false);
  EXPECT_EQ(Settings::KickTimer(), 1);
  EXPECT_TRUE(ServerLines().empty());
  EXPECT_TRUE(LogRecords().empty());
}

TEST_F(Reload, ConsoleReloadFailureIsLoggedAndKeepsTheSettings) {
  Game().Join("alice");
  ClearServerLines();
  DeleteConfig();
  ASSERT_TRUE(Console("alice", "gatehouse.reload"));
  WriteConfig(R"({"OnlyWhitelisted": false, "KickTimer": [)");
  ASSERT_TRUE(Console("alice", "Gatehouse.Reload"));
  EXPECT_TRUE(ServerLines().empty());
  EXPECT_EQ(LogMessages(), (std::vector<std::string>{
                               "Failed to read config! Can't open config.json", kBrokenMessage}));
  EXPECT_EQ(Settings::KickTimer(), 1);
}

// The configuration is read by then; a host that cannot carry the answer
// leaves the failure on the log, and the command returns to the host.
TEST_F(Reload, RconReplyThatCannotBeSentIsContained) {
  sim::UnregisterGameFunction("RCONClientConnection.SendMessage(int,int,FString&)");
  WriteConfig(R"({"KickTimer": 8})");
  ASSERT_TRUE(Rcon(3, "Gatehouse.Reload"));
  EXPECT_EQ(Settings::KickTimer(), 8);
  EXPECT_TRUE(replies_.empty());
  EXPECT_EQ(LogMessages(),
            (std::vector<std::string>{"Failed to read config! game function not found: "
                                      "RCONClientConnection.SendMessage(int,int,FString&)"}));
}

TEST_F(Reload, RconReloadAnswersTheRequestWithItsId) {
  WriteConfig(R"({"KickTimer": 9})");
  ASSERT_TRUE(Rcon(41, "Gatehouse.Reload"));
  WriteConfig(R"({"OnlyWhitelisted": false, "KickTimer": [)");
  ASSERT_TRUE(Rcon(42, "Gatehouse.Reload extra words"));
  EXPECT_EQ(replies_, (std::vector<std::tuple<int32_t, int32_t, std::string>>{
                          {41, 0, "Reloaded Config!"}, {42, 0, ""}}));
  EXPECT_EQ(LogMessages(), (std::vector<std::string>{kBrokenMessage}));
  EXPECT_EQ(Settings::KickTimer(), 9);
}

// Reloads between a login and its kick change neither the kick's message nor
// its delay; a failed reload keeps the settings for the next join.
TEST_F(Reload, FailedReloadKeepsEnforcementAsItWas) {
  WriteConfig(R"({"OnlyWhitelisted": true, "WhitelistedPlayers": ["alice"], "KickTimer": 1})");
  ASSERT_TRUE(Rcon(1, "Gatehouse.Reload"));
  WriteConfig(R"({"OnlyWhitelisted": false, "WhitelistedPlayers": [)");
  ASSERT_TRUE(Rcon(2, "Gatehouse.Reload"));
  CapturingConsole([&] {
    Game().Join("alice");
    Game().Join("bob");
  });
  sim::AdvanceSeconds(1);
  EXPECT_EQ(ServerLines(), (std::vector<std::string>{"join alice: admitted", "join bob: admitted",
                                                     "kick bob: You are not whitelisted on this "
                                                     "server!"}));
}
