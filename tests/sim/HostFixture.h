#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "sim/framework/SimHost.h"

// A fresh host and server folder for each test, with the lines it prints
// captured. The reset happens at construction, before a derived fixture's
// members (a game) exist.
class HostFixture : public ::testing::Test {
 protected:
  HostFixture() {
    sim::ResetHost();
    // A fresh folder, where the host's log file lands, not in the build tree.
    std::filesystem::remove_all(ServerDir());
    std::filesystem::create_directories(ServerDir());
    sim::SetCurrentDir(ServerDir());
    sim::SetOutputWriter([this](std::string_view line) { lines.emplace_back(line); });
    sim::SetErrorWriter([this](std::string_view line) { errors.emplace_back(line); });
  }

  ~HostFixture() override {
    sim::ResetHost();
    // Nothing of the test stays behind in the temporary folder.
    std::error_code ignored;
    std::filesystem::remove_all(ServerDir(), ignored);
  }

  // One folder per test process: ctest runs the cases side by side.
  static std::string ServerDir() {
    return ::testing::TempDir() + "gatehouse-sim-tests-" + std::to_string(getpid());
  }

  std::vector<std::string> lines;
  std::vector<std::string> errors;
};
