// Gatehouse.Sweep in-process, where the scenarios cannot reach: a setting that
// cannot be read stops the sweep before its first kick, and the players who
// left are forgotten.

#include <string>
#include <utility>

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
    LoadPlugin("{}");
    Game().Join("alice");
    Game().Join("bob");
    Game().Join("carol");
    Game().Leave("carol");
  }
};

// Also a kick's own message: the sweep judges with the join's decisions, which
// read it when a check fails, before anything is scheduled.
TEST_F(Sweep, SettingThatCannotBeReadKicksNobody) {
  EXPECT_EQ(Online().Count(), 2u);
  const std::pair<std::string, std::string> cases[] = {
      {R"({"OnlyWhitelisted": true, "WhitelistedPlayers": ["alice"], "UseBlacklist": true,
           "BlacklistedGroups": [7]})",
       "BlacklistedGroups: " + MustBe("string", "number")},
      {R"({"OnlyWhitelisted": true, "WhitelistedPlayers": ["alice"], "KickMessage": 5})",
       "KickMessage: " + MustBe("string", "number")},
  };
  for (const auto& [config, failure] : cases) {
    SCOPED_TRACE(config);
    UseConfig(config);
    const size_t pending = sim::PendingCallables();
    EXPECT_EQ(SweepPreview(), "Gatehouse.Sweep preview failed: " + failure + "; nothing changed");
    const std::string console = CapturingConsole(
        [&] { EXPECT_EQ(SweepNow(), "Gatehouse.Sweep failed: " + failure + "; nobody kicked"); });
    EXPECT_EQ(console, "");
    EXPECT_EQ(sim::PendingCallables(), pending);
    EXPECT_TRUE(LogRecords().empty());
  }
}

}  // namespace gatehouse
