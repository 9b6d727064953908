#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PluginTest.h"
#include "admission/AtCapacityHook.h"
#include "admission/PreLoginHook.h"
#include "sim/framework/SimHost.h"

namespace gatehouse {

namespace {

const std::vector<std::string> kRegistrations = {
    "host: add rcon command Gatehouse.Reload",
    "host: add console command Gatehouse.Reload",
    "host: add rcon command Gatehouse.Explain",
    "host: add rcon command Gatehouse.Status",
    "host: add rcon command Gatehouse.Add",
    "host: add rcon command Gatehouse.Remove",
    "host: add rcon command Gatehouse.Sweep",
    "host: install hook AShooterGameMode.PreLogin(FString&,FString&,FUniqueNetIdRepl&,FString&)",
    "host: install hook AShooterGameMode.PostLogin(APlayerController*)",
    "host: install hook AGameSession.AtCapacity(bool,FString&,bool,int*)",
};

// Stopping asks for the removal of each registration, in the same order.
const std::vector<std::string> kRemovals = [] {
  std::vector<std::string> removals;
  for (const std::string& line : kRegistrations) {
    removals.push_back(
        std::regex_replace(line, std::regex("^host: (add|install) "), "host: remove "));
  }
  return removals;
}();

}  // namespace

using Lifecycle = PluginTest;

TEST_F(Lifecycle, ValidStartRegistersEverythingInOrderAndWritesNothing) {
  WriteConfig("{}");
  sim::SetTrace(true);
  const std::string console = CapturingConsole([&] { LoadPlugin(); });
  EXPECT_EQ(ServerLines(), kRegistrations);
  EXPECT_EQ(console, "");
  EXPECT_TRUE(LogRecords().empty());

  ClearServerLines();
  UnloadPlugin();
  EXPECT_EQ(ServerLines(), kRemovals);
}

// A file that cannot be parsed: one error record, nothing registered, and
// stopping still asks for every removal, in order.
TEST_F(Lifecycle, FailedReadLeavesOneRecordAndAnIdlePlugin) {
  WriteConfig("{\"KickTimer\": 1,}");
  sim::SetTrace(true);
  const std::string console = CapturingConsole([&] { LoadPlugin(); });
  EXPECT_TRUE(ServerLines().empty());
  EXPECT_EQ(console, "");
  ASSERT_EQ(LogRecords().size(), 1u);
  EXPECT_TRUE(std::regex_match(LogRecords().back(),
                               std::regex(R"(\d\d/\d\d/\d\d \d\d:\d\d \[Gatehouse\]\[error\] .*)")))
      << LogRecords().back();
  EXPECT_EQ(LogMessages().back(),
            "Failed to read config! [json.exception.parse_error.101] parse error at line 1, column "
            "17: syntax error while parsing object key - unexpected '}'; expected string literal");
  UnloadPlugin();
  EXPECT_EQ(ServerLines(), kRemovals);
}

// Loaded, unloaded and loaded again in one process, as a host reloads the
// library: the second start finds nothing of the first (no console logger left
// registered under its name, no armed bypass, no settings) and starts whole.
TEST_F(Lifecycle, LoadsAgainInOneProcessAsIfForTheFirstTime) {
  LoadPlugin(R"({"DebugPreLogin": true})");
  EXPECT_NE(CapturingConsole([&] { Game().Join("alice"); }).find("PreLogin Identifier - alice"),
            std::string::npos);
  Bypass().IgnoreCapacity = true;
  UnloadPlugin();

  LoadPlugin(R"({"KickTimer": 1,})");
  EXPECT_EQ(LogMessages().size(), 1u);  // the failed read, and nothing else
  UnloadPlugin();

  WriteConfig(R"({"DebugPreLogin": true})");
  sim::SetTrace(true);
  ClearServerLines();
  std::string console = CapturingConsole([&] { LoadPlugin(); });
  EXPECT_EQ(ServerLines(), kRegistrations);
  EXPECT_EQ(console, "");
  EXPECT_EQ(LogMessages().size(), 1u);
  EXPECT_FALSE(Bypass().IgnoreCapacity);
  console = CapturingConsole([&] { Game().Join("bob"); });
  EXPECT_EQ(ConsoleLines(console),
            std::vector<std::string>{"\x1b[36m" + std::string(kStamp) +
                                     " [GH] PreLogin Identifier - bob\x1b[0m"});
}

}  // namespace gatehouse
