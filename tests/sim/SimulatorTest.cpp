// The simulator in-process: its command language, its errors and its plugin
// loader, with the test plugin and (where built) the real one.

#include <dlfcn.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "sim/app/EventLoop.h"
#include "sim/app/Simulator.h"
#include "tests/sim/HostFixture.h"

namespace {

std::string BinFolder() {
  return std::filesystem::path(GATEHOUSE_PERMISSIONS).parent_path();
}

class Simulator : public HostFixture {
 protected:
  void SetUp() override {
    std::filesystem::remove_all(ServerDir());
    std::filesystem::create_directories(ServerDir());
  }

  void Start(const std::string& plugin = GATEHOUSE_TEST_PLUGIN) {
    sim::app::Options options;
    options.dir = ServerDir();
    options.plugin = plugin;
    simulator.emplace(options, BinFolder(), ServerDir(), loop);
  }

  void Run(std::initializer_list<const char*> script) {
    for (const char* line : script) {
      simulator->Execute(line);
    }
  }

  sim::app::EventLoop loop;
  std::optional<sim::app::Simulator> simulator;
};

TEST_F(Simulator, TheTestPluginsHookAndCommandComeAndGoWithIt) {
  Start();
  EXPECT_EQ(sim::HookCount("AShooterGameMode.PostLogin(APlayerController*)"), 1u);
  Run({"join alice", "console alice test.ping", "rcon Test.Ping", "unload",
       "console alice Test.Ping", "rcon Test.Ping"});
  EXPECT_EQ(sim::HookCount("AShooterGameMode.PostLogin(APlayerController*)"), 0u);
  EXPECT_EQ(sim::PendingCallables(), 0u);
  EXPECT_EQ(lines,
            (std::vector<std::string>{"plugin loaded", "join alice: admitted", "plugin unloaded",
                                      "rcon reply 2 0: Unknown command: Test.Ping"}));
  EXPECT_EQ(errors, std::vector<std::string>{"error: unknown console command 'Test.Ping'"});
  EXPECT_EQ(dlopen(GATEHOUSE_TEST_PLUGIN, RTLD_NOW | RTLD_NOLOAD), nullptr);
}

TEST_F(Simulator, WhatAPluginLeavesBehindIsNamedAndTakenAway) {
  Start();
  setenv("GATEHOUSE_TEST_PLUGIN_LEAVE", "1", 1);
  Run({"unload"});
  unsetenv("GATEHOUSE_TEST_PLUGIN_LEAVE");
  EXPECT_EQ(errors,
            (std::vector<std::string>{
                "error: the plugin left console command Test.Ping registered",
                "error: the plugin left rcon command Test.Ping registered",
                "error: the plugin left a hook on AShooterGameMode.PostLogin(APlayerController*) "
                "installed"}));
  // The game goes on without calling into the gone library.
  Run({"join alice", "wait 5000"});
  EXPECT_EQ(lines.back(), "join alice: admitted");
}

TEST_F(Simulator, EveryBadCommandIsAnErrorLineAndTheSimulatorGoesOn) {
  Start();
  struct Case {
    const char* line;
    const char* error;
  };
  const Case cases[] = {
      {"dance", "error: unknown command 'dance'"},
      {"join", "error: join takes one player id"},
      {"join a b", "error: join takes one player id"},
      {"leave zed", "error: player zed is not online"},
      {"wait", "error: wait takes a whole number of seconds"},
      {"wait -1", "error: wait takes a whole number of seconds, not '-1'"},
      {"wait 1.5", "error: wait takes a whole number of seconds, not '1.5'"},
      {"wait 99999999999999999999",
       "error: wait takes a whole number of seconds, not "
       "'99999999999999999999'"},
      {"capacity x", "error: capacity takes a whole number of 0 or more, not 'x'"},
      {"group alice", "error: group takes a player id and a group"},
      {"ungroup alice Vip", "error: player alice is not in group Vip"},
      {"console zed Test.Ping", "error: player zed is not online"},
      {"console alice", "error: console takes a player id and a command"},
      {"rcon", "error: rcon takes a command"},
      {"players now", "error: players takes no arguments"},
      {"config", "error: config takes a file or --delete"},
      {"load", "error: the plugin is loaded already"},
  };
  for (const Case& c : cases) {
    errors.clear();
    simulator->Execute(c.line);
    EXPECT_EQ(errors, std::vector<std::string>{c.error}) << c.line;
  }
  errors.clear();
  Run({"unload", "unload"});
  EXPECT_EQ(errors, std::vector<std::string>{"error: the plugin is not loaded"});
}

TEST_F(Simulator, StrangeBytesNeverBreakALine) {
  Start();
  const std::string nul_line("join a\0b", 8);
  simulator->Execute(nul_line);
  simulator->Execute("join \xC3\x28\xFF");
  simulator->Execute(std::string(100000, 'x'));
  simulator->Execute("   # a comment");
  simulator->Execute("");
  Run({"players"});
  EXPECT_EQ(lines.back(), "players 2/70: " + nul_line.substr(5) + " \xC3\x28\xFF");
}

TEST_F(Simulator, QuitEndsTheCommands) {
  Start();
  EXPECT_FALSE(simulator->Execute("quit"));
  EXPECT_FALSE(simulator->Execute("join alice"));
  EXPECT_EQ(lines, std::vector<std::string>{"plugin loaded"});
}

TEST_F(Simulator, ConfigCopiesAndDeletesThePluginsFile) {
  Start();
  const std::string config = ServerDir() + "/ArkApi/Plugins/Gatehouse/config.json";
  std::ofstream(ServerDir() + "/new.json") << "{}";
  Run({"config new.json"});
  EXPECT_TRUE(std::filesystem::exists(config));
  Run({"config --delete"});
  EXPECT_FALSE(std::filesystem::exists(config));
  Run({"config missing.json"});
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("error: cannot read ", 0), 0u);
}

TEST_F(Simulator, AMissingPluginIsAnErrorAndTheServerRunsWithoutIt) {
  Start("/nonexistent/libNothing.so");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("error: cannot load plugin /nonexistent/libNothing.so: ", 0), 0u);
  Run({"join alice"});
  EXPECT_EQ(lines, std::vector<std::string>{"join alice: admitted"});
}

#ifdef GATEHOUSE_PLUGIN
// A session through the real plugin returns every engine block it took.
TEST_F(Simulator, AScriptedSessionLeavesNoEngineBlockBehind) {
  const int64_t before = sim::LiveEngineBlocks();
  std::filesystem::create_directories(ServerDir() + "/ArkApi/Plugins/Gatehouse");
  std::ofstream(ServerDir() + "/ArkApi/Plugins/Gatehouse/config.json")
      << R"({"OnlyWhitelisted": true, "WhitelistedPlayers": ["alice"], "UseBlacklist": true,
            "BlacklistedGroups": ["Cheaters"], "KickTimer": 2, "KickMessage": "Tschüss 🙂"})";
  Start(GATEHOUSE_PLUGIN);
  Run({"capacity 1", "group bob Cheaters", "join alice", "join bob", "join carol", "leave alice",
       "join bob", "join dave", "console bob Gatehouse.Reload", "rcon Gatehouse.Reload", "wait 1",
       "unload", "load", "join erin", "wait 5", "quit"});
  simulator.reset();
  EXPECT_EQ(sim::LiveEngineBlocks(), before);
  EXPECT_EQ(dlopen(GATEHOUSE_PLUGIN, RTLD_NOW | RTLD_NOLOAD), nullptr);
}
#endif

}  // namespace
