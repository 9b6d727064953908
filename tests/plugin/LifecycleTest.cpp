#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PluginTest.h"
#include "config/PluginConfig.h"
#include "plugin/PluginLog.h"
#include "sim/framework/SimHost.h"

namespace {

const std::vector<std::string> kRegistrations = {
    "host: add rcon command Gatehouse.Reload",
    "host: add console command Gatehouse.Reload",
    "host: install hook AShooterGameMode.PreLogin(FString&,FString&,FUniqueNetIdRepl&,FString&)",
    "host: install hook AShooterGameMode.PostLogin(APlayerController*)",
    "host: install hook AGameSession.AtCapacity(bool,FString&,bool,int*)",
};

const std::vector<std::string> kRemovals = {
    "host: remove rcon command Gatehouse.Reload",
    "host: remove console command Gatehouse.Reload",
    "host: remove hook AShooterGameMode.PreLogin(FString&,FString&,FUniqueNetIdRepl&,FString&)",
    "host: remove hook AShooterGameMode.PostLogin(APlayerController*)",
    "host: remove hook AGameSession.AtCapacity(bool,FString&,bool,int*)",
};

}  // namespace

using Lifecycle = PluginTest;

TEST_F(Lifecycle, ValidStartRegistersFiveThingsInOrderAndWritesNothing) {
  WriteConfig("{}");
  sim::SetTrace(true);
  const std::string console = CapturingConsole([&] { LoadPlugin(); });
  EXPECT_EQ(ServerLines(), kRegistrations);
  EXPECT_EQ(console, "");
  EXPECT_TRUE(LogRecords().empty());
  for (const char* target :
       {"AShooterGameMode.PreLogin(FString&,FString&,FUniqueNetIdRepl&,FString&)",
        "AShooterGameMode.PostLogin(APlayerController*)",
        "AGameSession.AtCapacity(bool,FString&,bool,int*)"}) {
    EXPECT_EQ(sim::HookCount(target), 1u) << target;
  }

  ClearServerLines();
  UnloadPlugin();
  EXPECT_EQ(ServerLines(), kRemovals);
  EXPECT_EQ(sim::HookCount("AShooterGameMode.PostLogin(APlayerController*)"), 0u);
}

TEST_F(Lifecycle, FailedReadLeavesOneRecordAndAnIdlePlugin) {
  const struct {
    const char* name;
    bool present;
    std::string content;
    std::string message;
  } cases[] = {
      {"missing", false, "", "Failed to read config! Can't open config.json"},
      {"syntax error", true, "{\"KickTimer\": 1,}",
       "Failed to read config! [json.exception.parse_error.101] parse error at line 1, column 17: "
       "syntax error while parsing object key - unexpected '}'; expected string literal"},
  };
  static const std::regex record(R"(\d\d/\d\d/\d\d \d\d:\d\d \[Gatehouse\]\[error\] .*)");
  for (const auto& c : cases) {
    if (c.present) {
      WriteConfig(c.content);
    } else {
      DeleteConfig();
    }
    sim::SetTrace(true);
    ClearServerLines();
    PluginConfig() = nullptr;
    const size_t records = LogRecords().size();
    const std::string console = CapturingConsole([&] { LoadPlugin(); });
    EXPECT_TRUE(ServerLines().empty()) << c.name;
    EXPECT_EQ(console, "") << c.name;
    ASSERT_EQ(LogRecords().size(), records + 1) << c.name;
    EXPECT_TRUE(std::regex_match(LogRecords().back(), record)) << LogRecords().back();
    EXPECT_EQ(LogMessages().back(), c.message);

    // The idle plugin joins nothing in: the game decides alone.
    Game().SetCapacity(0);
    Game().Join("alice");
    EXPECT_EQ(ServerLines().back(), "join alice: refused: Server is at capacity.");

    // Stopping still asks for every removal, in order.
    ClearServerLines();
    UnloadPlugin();
    EXPECT_EQ(ServerLines(), kRemovals) << c.name;
  }
}
