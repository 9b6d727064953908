#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "RecordingPermissions.h"
#include "harness/InProcessServer.h"

namespace gatehouse {

namespace harness {
class RecordSink;
}

// The in-process server for one test, with the recording permissions library
// bound, the server's lines and the log records kept for the test to look at,
// and the engine allocator's live-block count checked at the end.
class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  void WriteConfig(const std::string& text) const { server_->WriteConfig(text); }
  void DeleteConfig() const { server_->DeleteConfig(); }

  // Writes the file and reads it into the settings; fails the test on error.
  void UseConfig(const std::string& text) const;
  // The same with the document's text.
  void UseDocument(const nlohmann::json& document) const { UseConfig(document.dump()); }

  // Load and Unload as the library entry runs them; Load after writing the
  // file when given its text.
  void LoadPlugin() { server_->Load(); }
  void LoadPlugin(const std::string& config) {
    WriteConfig(config);
    LoadPlugin();
  }
  void UnloadPlugin() { server_->Unload(); }

  // Records that reached the host's sinks through the log channel, as laid out.
  std::vector<std::string> LogRecords() const;
  // Only the message part of each record (after "[Gatehouse][level] ").
  std::vector<std::string> LogMessages() const;
  // Lines the simulated server printed (join, kick, message, rcon reply, host:).
  const std::vector<std::string>& ServerLines() const { return server_lines_; }
  void ClearServerLines() { server_lines_.clear(); }

  // Runs something with standard output captured; gives what it wrote.
  static constexpr auto* CapturingConsole = &harness::console::Capture;
  // The console lines written, split at line ends, with the stamps masked.
  static std::vector<std::string> ConsoleLines(const std::string& captured);

  sim::Game& Game() { return server_->Game(); }

  std::string dir_;

 private:
  std::unique_ptr<harness::Server> server_;
  std::vector<std::string> server_lines_;
  std::shared_ptr<harness::RecordSink> log_capture_;
};

// The JSON library's error for a value of another type than the read wants,
// and for a read of a document that is not an object.
inline std::string MustBe(const std::string& wanted, const std::string& found) {
  return "[json.exception.type_error.302] type must be " + wanted + ", but is " + found;
}
inline std::string NoValueIn(const std::string& found) {
  return "[json.exception.type_error.306] cannot use value() with " + found;
}

// The time stamp of a console line, as ConsoleLines shows it.
inline constexpr char kStamp[] = "MM/DD/YY HH:MM";

}  // namespace gatehouse
