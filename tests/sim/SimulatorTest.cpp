// The simulator's command language in-process, for what the scripted runs in
// cases/ leave out.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "host/Utf8Path.h"
#include "sim/app/EventLoop.h"
#include "sim/app/Simulator.h"
#include "sim/app/platform/Process.h"
#include "tests/sim/HostFixture.h"

namespace {

class Simulator : public HostFixture {
 protected:
  void SetUp() override { Start(GATEHOUSE_TEST_PLUGIN); }

  // A simulator of this plugin in the server folder, in place of the one before.
  void Start(const std::string& plugin) {
    simulator.reset();
    sim::app::Options options;
    options.dir = ServerDir();
    options.plugin = plugin;
    simulator.emplace(options,
                      Utf8FromPath(std::filesystem::path(GATEHOUSE_PERMISSIONS).parent_path()),
                      ServerDir(), loop);
  }

  sim::app::EventLoop loop;
  std::optional<sim::app::Simulator> simulator;
};

TEST_F(Simulator, EveryBadCommandIsAnErrorLineAndTheSimulatorGoesOn) {
  const struct {
    const char* line;
    const char* error;
  } cases[] = {
      {"join a b", "error: join takes one player id"},
      {"wait", "error: wait takes a whole number of seconds"},
      {"wait -1", "error: wait takes a whole number of seconds, not '-1'"},
      {"wait 1.5", "error: wait takes a whole number of seconds, not '1.5'"},
      {"wait 99999999999999999999",
       "error: wait takes a whole number of seconds, not '99999999999999999999'"},
      {"capacity x", "error: capacity takes a whole number of 0 or more, not 'x'"},
      {"ban", "error: ban takes one player id"},
      {"unban alice bob", "error: unban takes one player id"},
      {"unban nobody", "error: player nobody is not banned"},
      {"load", "error: the plugin is loaded already"},
      {"unload", nullptr},
      {"unload", "error: the plugin is not loaded"},
  };
  for (const auto& c : cases) {
    errors.clear();
    simulator->Execute(c.line);
    EXPECT_EQ(errors, c.error ? std::vector<std::string>{c.error} : std::vector<std::string>{})
        << c.line;
  }
}

TEST_F(Simulator, StrangeBytesNeverBreakALine) {
  const std::string nul_line("join a\0b", 8);
  for (const std::string& line :
       {nul_line, std::string("join \xC3\x28\xFF"), std::string(100000, 'x'),
        std::string("   # a comment"), std::string(), std::string("players")}) {
    simulator->Execute(line);
  }
  EXPECT_EQ(lines.back(), "players 2/70: " + nul_line.substr(5) + " \xC3\x28\xFF");
}

// File-size limits and symlinks as the tests below use them are POSIX's.
#ifndef _WIN32
// A copy that fails part way (here: the file-size limit cuts the write short)
// leaves the old config.json whole, and nothing beside it.
TEST_F(Simulator, AFailedConfigCopyLeavesTheOldFile) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(ServerDir()) / "ArkApi/Plugins/Gatehouse";
  fs::create_directories(folder);
  const std::string old_config = R"({"KickTimer": 5})";
  std::ofstream(folder / "config.json") << old_config;
  std::ofstream(fs::path(ServerDir()) / "big.json") << std::string(64 * 1024, ' ') << "{}";

  ASSERT_EQ(sim::app::platform::LimitFileSize(16 * 1024), "");
  simulator->Execute("config big.json");
  ASSERT_EQ(sim::app::platform::LimitFileSize(std::nullopt), "");

  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("error: cannot copy ", 0), 0u) << errors[0];
  std::stringstream kept;
  kept << std::ifstream(folder / "config.json").rdbuf();
  EXPECT_TRUE(kept.str() == old_config) << "config.json holds " << kept.str().size() << " bytes";
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

#ifdef GATEHOUSE_PLUGIN
// A deployment that swaps the file behind the plugin's path while it runs (a
// symlink pointed at a new build): a kick that the plugin scheduled before
// its unload must go with it, whatever path the plugin tagged it with.
TEST_F(Simulator, DropsTheKicksOfAPluginWhoseSymlinkWasRepointed) {
  namespace fs = std::filesystem;
  const fs::path dir = ServerDir();
  fs::create_directories(dir / "ArkApi/Plugins/Gatehouse");
  std::ofstream(dir / "ArkApi/Plugins/Gatehouse/config.json")
      << R"({"OnlyWhitelisted": true, "KickTimer": 1})";
  for (const char* copy : {"first.so", "second.so"}) {
    fs::copy_file(GATEHOUSE_PLUGIN, dir / copy);
  }
  fs::create_symlink("first.so", dir / "plugin.so");

  Start((dir / "plugin.so").string());
  fs::remove(dir / "plugin.so");
  fs::create_symlink("second.so", dir / "plugin.so");
  simulator->Execute("join bob");
  simulator->Execute("unload");
  EXPECT_EQ(sim::PendingCallables(), 0u);
  simulator->Execute("wait 2");
  EXPECT_EQ(lines.back(), "plugin unloaded");
}
#endif
#endif

}  // namespace
