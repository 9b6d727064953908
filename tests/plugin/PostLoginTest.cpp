#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "PluginTest.h"
#include "RecordingPermissions.h"
#include "admission/PostLoginHook.h"
#include "config/PluginConfig.h"
#include "platform/Platform.h"
#include "sim/framework/SimHost.h"
#include "sim/game/EngineObjects.h"
#include "sim/game/GameFunctions.h"

namespace gatehouse {

using nlohmann::json;

namespace {

// Stands in for the game's kick where a test must see every kick the plugin
// asks for, also a second one for a player the first would have removed.
std::vector<std::pair<std::string, std::string>> kicks_asked;

void RecordingKick(AShooterGameMode*, APlayerController* controller, FString& message) {
  kicks_asked.emplace_back(static_cast<AShooterPlayerController*>(controller)->unique_id.id,
                           sim::ToUtf8(message));
}

std::string Alert(const std::string& text) {
  return "\x1b[33mMM/DD/YY HH:MM " + text + "\x1b[0m";
}
std::string Info(const std::string& text) {
  return "\x1b[36mMM/DD/YY HH:MM " + text + "\x1b[0m";
}

}  // namespace

class PostLogin : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    kicks_asked.clear();
    LoadPlugin("{}");
  }

  // Joins with the console captured; gives the console lines.
  std::vector<std::string> Join(const std::string& id) {
    return ConsoleLines(CapturingConsole([&] { Game().Join(id); }));
  }

  // The lines of a list that start with the prefix.
  static std::vector<std::string> Starting(const std::vector<std::string>& all,
                                           const std::string& prefix) {
    std::vector<std::string> some;
    std::copy_if(all.begin(), all.end(), std::back_inserter(some),
                 [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
    return some;
  }
};

// With DebugPostLogin on, the debug line shows only while the whitelist is
// enforced; the game's kick is recorded, so that both kicks of one login show.
TEST_F(PostLogin, OutcomeTable) {
  const std::string debug = Info("[GH] PostLogin Identifier - p");
  const std::string not_whitelisted = Alert("[GH][kick] Not whitelisted - p");
  const std::string blacklisted = Alert("[GH][kick] Blacklisted - p");
  const std::string whitelist_kick = "You are not whitelisted on this server!";
  const std::string blacklist_kick = "You are blacklisted on this server!";
  const struct {
    bool only_whitelisted;
    bool whitelisted;
    bool use_blacklist;
    bool blacklisted;
    std::vector<std::string> lines;
    std::vector<std::string> kicks;
  } rows[] = {
      {false, false, false, true, {}, {}},
      {true, true, false, true, {debug}, {}},
      {true, false, false, true, {debug, not_whitelisted}, {whitelist_kick}},
      {false, false, true, false, {}, {}},
      {false, false, true, true, {blacklisted}, {blacklist_kick}},
      {true, true, true, true, {debug, blacklisted}, {blacklist_kick}},
      {true, false, true, false, {debug, not_whitelisted}, {whitelist_kick}},
      {true,
       false,
       true,
       true,
       {debug, not_whitelisted, blacklisted},
       {whitelist_kick, blacklist_kick}},
  };
  sim::RegisterGameFunction(sim::game::kKickPlayerController,
                            reinterpret_cast<void*>(&RecordingKick));
  for (const auto& row : rows) {
    const json config = {{"AllowJoinFullServer", false},
                         {"DebugPostLogin", true},
                         {"OnlyWhitelisted", row.only_whitelisted},
                         {"UseBlacklist", row.use_blacklist},
                         {"WhitelistedPlayers", row.whitelisted ? json{"P"} : json{"q"}},
                         {"BlacklistedGroups", row.blacklisted ? json{"Cheats"} : json{"Other"}}};
    recording_permissions::AddMember("p", "Cheats");
    UseConfig(config.dump());
    kicks_asked.clear();
    const auto lines = Join("p");
    EXPECT_EQ(lines, row.lines) << config.dump();
    sim::AdvanceSeconds(5);
    std::vector<std::string> messages;
    for (const auto& [id, message] : kicks_asked) {
      EXPECT_EQ(id, "p");
      messages.push_back(message);
    }
    EXPECT_EQ(messages, row.kicks) << config.dump();
    Game().Leave("p");
  }
}

TEST_F(PostLogin, ZeroAndNegativeDelaysAndEmptyMessageReachTheTimerUnchanged) {
  sim::SetTrace(true);
  const std::string library = Platform::OwnLibraryPath();
  for (const int delay : {0, -7}) {
    UseConfig(json({{"OnlyWhitelisted", true}, {"KickTimer", delay}, {"KickMessage", ""}}).dump());
    ClearServerLines();
    Join("bob");
    EXPECT_EQ(ServerLines().front(),
              "host: schedule " + library + "_0 in " + std::to_string(delay) + " s");
    sim::AdvanceSeconds(0);
    EXPECT_EQ(ServerLines().back(), "kick bob:");
  }
}

TEST_F(PostLogin, KickWithoutGameModeDoesNothing) {
  UseConfig(R"({"OnlyWhitelisted": true, "KickTimer": 1})");
  Join("bob");
  sim::SetGameMode(nullptr);
  sim::AdvanceSeconds(1);
  EXPECT_TRUE(Starting(ServerLines(), "kick ").empty());
  EXPECT_TRUE(LogRecords().empty());
  sim::SetGameMode(Game().GameMode());
}

// A configuration error stops the enforcement of that login after the game's
// own post-login; a kick scheduled before the error stays.
TEST_F(PostLogin, ConfigurationErrorsAreContained) {
  const struct {
    const char* config;
    std::string message;  // after "PostLoginHook: "
    size_t kicks;
  } cases[] = {
      {R"({"OnlyWhitelisted": 1})", "OnlyWhitelisted: " + MustBe("boolean", "number"), 0},
      {R"({"OnlyWhitelisted": true, "WhitelistedPlayers": ["x", {}]})",
       "WhitelistedPlayers: " + MustBe("string", "object"), 0},
      {R"({"OnlyWhitelisted": true, "KickMessage": 3})",
       "KickMessage: " + MustBe("string", "number"), 0},
      {R"({"OnlyWhitelisted": true, "KickTimer": "5"})", "KickTimer: " + MustBe("number", "string"),
       0},
      {R"({"OnlyWhitelisted": true, "UseBlacklist": "yes", "KickTimer": 1})",
       "UseBlacklist: " + MustBe("boolean", "string"), 1},
      {R"({"OnlyWhitelisted": true, "UseBlacklist": true, "BlacklistedGroups": [false],
           "KickTimer": 1})",
       "BlacklistedGroups: " + MustBe("string", "boolean"), 1},
      {R"(42)", "OnlyWhitelisted: " + NoValueIn("number"), 0},
  };
  for (const auto& c : cases) {
    UseConfig(c.config);
    ClearServerLines();
    const size_t records = Starting(LogMessages(), "PostLoginHook: ").size();
    Join("bob");
    EXPECT_EQ(ServerLines(), (std::vector<std::string>{"join bob: admitted"})) << c.config;
    ASSERT_EQ(Starting(LogMessages(), "PostLoginHook: ").size(), records + 1) << c.config;
    EXPECT_EQ(Starting(LogMessages(), "PostLoginHook: ").back(), "PostLoginHook: " + c.message);
    EXPECT_EQ(sim::PendingCallables(), c.kicks) << c.config;
    sim::AdvanceSeconds(1);
    EXPECT_EQ(Starting(ServerLines(), "kick ").size(), c.kicks) << c.config;
    Game().Leave("bob");
  }
}

TEST_F(PostLogin, NullControllerOnlyRunsTheGame) {
  UseConfig(R"({"OnlyWhitelisted": true, "UseBlacklist": true, "BlacklistedGroups": ["G"],
                "DebugPostLogin": true})");
  const std::string out = CapturingConsole([&] { PostLoginHook(Game().GameMode(), nullptr); });
  EXPECT_EQ(out, "");
  EXPECT_EQ(sim::PendingCallables(), 0u);
  EXPECT_TRUE(recording_permissions::Queries().empty());
  EXPECT_TRUE(LogRecords().empty());
}

}  // namespace gatehouse
