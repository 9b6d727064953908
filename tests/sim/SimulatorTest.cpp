// The simulator's command language in-process, for what the scripted runs in
// cases/ leave out.

#include <filesystem>
#include <string>

#include "host/Utf8Path.h"
#include "sim/app/EventLoop.h"
#include "sim/app/Simulator.h"
#include "tests/sim/HostFixture.h"

namespace {

class Simulator : public HostFixture {
 protected:
  void SetUp() override {
    std::filesystem::remove_all(ServerDir());
    std::filesystem::create_directories(ServerDir());
    sim::app::Options options;
    options.dir = ServerDir();
    options.plugin = GATEHOUSE_TEST_PLUGIN;
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

}  // namespace
