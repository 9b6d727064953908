// Gatehouse.Sweep in-process, where the scenarios cannot reach: a setting that
// cannot be read stops the sweep before its first kick, and the players who
// left are forgotten.

#include <string>

#include <gtest/gtest.h>

#include "PluginTest.h"
#include "admission/OnlinePlayers.h"
#include "operator/Sweep.h"
#include "sim/framework/SimHost.h"

namespace gatehouse {

class Sweep : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    WriteConfig("{}");
    LoadPlugin();
    Game().Join("alice");
    Game().Join("bob");
    Game().Join("carol");
    Game().Leave("carol");
  }
};

TEST_F(Sweep, SettingThatCannotBeReadKicksNobody) {
  EXPECT_EQ(Online().Count(), 2u);
  UseConfig(R"({"OnlyWhitelisted": true, "WhitelistedPlayers": ["alice"], "UseBlacklist": true,
                "BlacklistedGroups": [7]})");
  const size_t pending = sim::PendingCallables();
  const std::string failure =
      "BlacklistedGroups: [json.exception.type_error.302] type must be string, but is number";
  EXPECT_EQ(SweepPreview(), "Gatehouse.Sweep preview failed: " + failure + "; nothing changed");
  EXPECT_EQ(SweepNow(), "Gatehouse.Sweep failed: " + failure + "; nobody kicked");
  EXPECT_EQ(sim::PendingCallables(), pending);
  EXPECT_TRUE(LogRecords().empty());
}

}  // namespace gatehouse
