#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <spdlog/common.h>
#include <nlohmann/json.hpp>

#include "ConsoleCapture.h"
#include "RecordingPermissions.h"
#include "sim/game/Game.h"

namespace gatehouse {

// The plugin's code running in-process against the simulated host and game:
// a fresh host, a game, a server folder of its own, the plugin's log channel
// open over a capturing sink, and the engine allocator's live-block count
// checked at the end of every test.
class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the plugin's config.json (or removes it).
  void WriteConfig(const std::string& text) const;
  void DeleteConfig() const;

  // Writes the file and reads it into the settings; fails the test on error.
  void UseConfig(const std::string& text) const;
  // The same with the document's text.
  void UseDocument(const nlohmann::json& document) const;

  // Load and Unload as the library entry runs them.
  void LoadPlugin();
  void UnloadPlugin();

  // Records that reached the host's sinks through the log channel, as laid out.
  std::vector<std::string> LogRecords() const;
  // Only the message part of each record (after "[Gatehouse][level] ").
  std::vector<std::string> LogMessages() const;
  // Lines the simulated server printed (join, kick, message, rcon reply, host:).
  const std::vector<std::string>& ServerLines() const { return server_lines_; }
  void ClearServerLines() { server_lines_.clear(); }

  // Runs something with standard output captured; gives what it wrote.
  template <class Action>
  static std::string CapturingConsole(Action action) {
    ConsoleCapture::Begin();
    action();
    return ConsoleCapture::End();
  }
  // The console lines written, split at line ends, with the stamps masked.
  static std::vector<std::string> ConsoleLines(const std::string& captured);

  sim::Game& Game() { return *game_; }

  std::string dir_;

 private:
  std::unique_ptr<sim::Game> game_;
  std::vector<std::string> server_lines_;
  spdlog::sink_ptr log_capture_;
  int64_t live_blocks_at_start_ = 0;
  bool loaded_ = false;
};

// The time stamp of a console line, as ConsoleLines shows it.
inline constexpr char kStamp[] = "MM/DD/YY HH:MM";

}  // namespace gatehouse
