// The real plugin library, opened and closed by the platform loader in this
// process as the host does: attach runs Load, detach runs Unload, and nothing
// of the plugin is left behind in the host when it is gone.

#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "harness/InProcessServer.h"
#include "harness/RecordSink.h"
#include "host/LogSinks.h"
#include "sim/app/platform/Process.h"
#include "sim/framework/SimHost.h"
#include "sim/game/GameFunctions.h"

namespace {

using sim::game::kAtCapacity;
using sim::game::kPostLogin;
using sim::game::kPreLogin;

// The host and game of the in-process server, with the host's own log sinks
// and a capture of what reaches them.
class LibraryLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    gatehouse::harness::Options options;
    options.output = [this](std::string_view line) { lines_.emplace_back(line); };
    options.log_sinks = AsaApi::GetLogSinks();
    options.log_sinks.push_back(capture_);
    server_.emplace("gatehouse-library", std::move(options));
  }

  void TearDown() override { EXPECT_EQ(server_->Close(), 0) << "engine blocks leaked"; }

  void* Open() {
    std::string error;
    void* handle = sim::app::platform::OpenLibrary(GATEHOUSE_PLUGIN_LIBRARY, error);
    EXPECT_NE(handle, nullptr) << error;
    return handle;
  }

  static void Close(void* handle) {
    std::string error;
    ASSERT_TRUE(sim::app::platform::CloseLibrary(handle, error)) << error;
    EXPECT_FALSE(sim::app::platform::LibraryStillLoaded(GATEHOUSE_PLUGIN_LIBRARY))
        << "the plugin library did not leave the process";
  }

  std::vector<std::string> lines_;
  std::shared_ptr<gatehouse::harness::RecordSink> capture_ =
      std::make_shared<gatehouse::harness::RecordSink>();
  std::optional<gatehouse::harness::Server> server_;
};

TEST_F(LibraryLoad, LoadUnloadLoadAndTheHostLogsOnAfterwards) {
  // Without a configuration: one error record and nothing registered.
  void* first = Open();
  ASSERT_NE(first, nullptr);
  ASSERT_EQ(capture_->records.size(), 1u);
  EXPECT_TRUE(std::regex_match(
      capture_->records.front(),
      std::regex(R"(\d\d/\d\d/\d\d \d\d:\d\d \[Gatehouse\]\[error\] Failed to read config! )"
                 R"(Can't open config\.json)")))
      << capture_->records.front();
  EXPECT_EQ(sim::HookCount(kPreLogin), 0u);
  EXPECT_FALSE(sim::DispatchConsoleCommand(nullptr, FString("Gatehouse.Reload")));
  Close(first);

  // The host's sinks outlive the plugin: nothing of its code is left in them.
  sim::HostLog(sim::LogLevel::warning, "after the plugin left");
  for (const auto& sink : AsaApi::GetLogSinks()) {
    sink->log(spdlog::details::log_msg("host", spdlog::level::info, "straight to the sink"));
    sink->flush();
  }
  ASSERT_EQ(capture_->records.size(), 2u);
  EXPECT_EQ(capture_->records.back(), "straight to the sink");

  // Loaded again in the same process, with a configuration: all ten
  // registrations, its own console logger anew, and nothing written.
  server_->WriteConfig("{}");
  sim::SetTrace(true);
  void* second = Open();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(lines_.size(), 10u);
  EXPECT_EQ(capture_->records.size(), 2u);
  for (const char* target : {kPreLogin, kPostLogin, kAtCapacity}) {
    EXPECT_EQ(sim::HookCount(target), 1u) << target;
  }
  server_->Game().Join("alice");
  EXPECT_EQ(lines_.back(), "join alice: admitted");
  Close(second);
  for (const char* target : {kPreLogin, kPostLogin, kAtCapacity}) {
    EXPECT_EQ(sim::HookCount(target), 0u) << target;
  }
  EXPECT_FALSE(sim::DispatchConsoleCommand(nullptr, FString("Gatehouse.Reload")));
  sim::HostLog(sim::LogLevel::info, "and again");
}

}  // namespace
