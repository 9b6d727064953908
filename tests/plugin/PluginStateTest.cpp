#include <gtest/gtest.h>

#include "PluginTest.h"
#include "admission/AtCapacityHook.h"
#include "admission/HookSlots.h"
#include "admission/OnlinePlayers.h"
#include "admission/PreparedLists.h"
#include "config/ConfigReads.h"
#include "config/PluginConfig.h"
#include "plugin/PluginState.h"

namespace gatehouse {

class PluginStateTest : public PluginTest {};

// Ending the state lets every part go, the prepared lists before the document
// they point into (the sanitizer build sees an end in the wrong order), and
// the next use starts from a plugin that was never loaded.
TEST_F(PluginStateTest, EndingItLetsEveryPartGoAndTheNextUseStartsAfresh) {
  LoadPlugin(R"({"OnlyWhitelisted": true, "WhitelistedPlayers": ["alice", "bob"]})");
  Game().Join("alice");
  ASSERT_TRUE(CurrentLists().whitelisted_players.Contains(FString("bob")));
  Bypass().IgnoreCapacity = true;
  ASSERT_NE(PreLoginTrampoline(), nullptr);
  ASSERT_EQ(Online().Current().size(), 1U);
  UnloadPlugin();

  EXPECT_TRUE(PluginConfig().is_null());
  EXPECT_EQ(PluginConfigGeneration(), 0U);
  EXPECT_FALSE(Reads().in_force.has_value());
  EXPECT_FALSE(Bypass().IgnoreCapacity);
  EXPECT_EQ(PreLoginTrampoline(), nullptr);
  EXPECT_EQ(PostLoginTrampoline(), nullptr);
  EXPECT_TRUE(Online().Current().empty());
  EXPECT_EQ(ThePreparedLists().lists, nullptr);
  EndPluginState();
  EndPluginState();  // nothing left: a second end does nothing

  LoadPlugin();
  EXPECT_TRUE(PluginConfig().is_object());
  EXPECT_EQ(PluginConfigGeneration(), 1U);
  EXPECT_NE(PreLoginTrampoline(), nullptr);
}

}  // namespace gatehouse
