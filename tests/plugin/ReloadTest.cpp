// The reload commands where the scripted scenarios cannot reach: a console
// command without a player, and a host that cannot carry the RCON reply.

#include <string>

#include <gtest/gtest.h>

#include "PluginTest.h"
#include "config/ReloadCommands.h"
#include "config/Settings.h"
#include "sim/framework/SimHost.h"
#include "sim/game/EngineObjects.h"

namespace gatehouse {

class Reload : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    LoadPlugin(R"({"KickTimer": 1})");
    WriteConfig(R"({"KickTimer": 8})");
  }
};

TEST_F(Reload, ConsoleReloadWithoutPlayerDoesNothing) {
  ConsoleReload(nullptr, nullptr, false);
  EXPECT_EQ(Settings::KickTimer(), 1);
  EXPECT_TRUE(ServerLines().empty());
  EXPECT_TRUE(LogRecords().empty());
}

// The configuration is read by then; a host that cannot carry the answer
// leaves the failure on the log, and the command returns to the host.
TEST_F(Reload, RconReplyThatCannotBeSentIsContained) {
  sim::UnregisterGameFunction("RCONClientConnection.SendMessage(int,int,FString&)");
  RCONClientConnection connection;
  bool replied = false;
  connection.reply = [&](int32_t, int32_t, const std::string&) { replied = true; };
  RCONPacket packet;
  packet.Id = 3;
  packet.Type = 2;
  packet.Body = FString("Gatehouse.Reload");
  ASSERT_TRUE(sim::DispatchRconCommand(&connection, packet, Game().World()));
  EXPECT_EQ(Settings::KickTimer(), 8);
  EXPECT_FALSE(replied);
  EXPECT_EQ(LogMessages(),
            (std::vector<std::string>{"Failed to read config! game function not found: "
                                      "RCONClientConnection.SendMessage(int,int,FString&)"}));
}

}  // namespace gatehouse
