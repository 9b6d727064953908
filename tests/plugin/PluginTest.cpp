#include "PluginTest.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <regex>
#include <string_view>

#include <spdlog/sinks/base_sink.h>

#include "common/Names.h"
#include "common/PluginLog.h"
#include "config/ReadConfig.h"
#include "host/LogSinks.h"
#include "plugin/Lifecycle.h"
#include "plugin/PluginState.h"
#include "sim/framework/SimHost.h"

namespace gatehouse {

namespace {

// Keeps the text each record carries: the log channel lays records out itself
// and hands the host's sinks the finished text.
class CaptureSink final : public spdlog::sinks::base_sink<std::mutex> {
 public:
  std::vector<std::string> Records() {
    std::lock_guard lock(mutex_);
    return records_;
  }

 protected:
  void sink_it_(const spdlog::details::log_msg& record) override {
    records_.emplace_back(record.payload.data(), record.payload.size());
  }
  void flush_() override {}

 private:
  std::vector<std::string> records_;
};

std::string FreshServerDir() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const auto dir = std::filesystem::temp_directory_path() /
                   (std::string("gatehouse-plugin-") + std::to_string(::getpid())) /
                   (std::string(info->test_suite_name()) + "." + info->name());
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "ArkApi" / "Plugins" / Names::kPlugin);
  return dir.string();
}

}  // namespace

void PluginTest::SetUp() {
  ConsoleCapture::Prepare();
  sim::ResetHost();
  live_blocks_at_start_ = sim::LiveEngineBlocks();
  dir_ = FreshServerDir();
  sim::SetCurrentDir(dir_);
  sim::SetPermissionsLibraryPath(GATEHOUSE_TEST_PERMISSIONS_LIBRARY);
  sim::SetOutputWriter([this](std::string_view line) { server_lines_.emplace_back(line); });
  recording_permissions::Clear();

  log_capture_ = std::make_shared<CaptureSink>();
  AsaApi::GetLogSinks().push_back(log_capture_);
  PluginLog::Get().Init(Names::kPlugin);

  game_ = std::make_unique<sim::Game>();
}

void PluginTest::TearDown() {
  if (loaded_) {
    UnloadPlugin();
  }
  game_.reset();
  // The plugin's state ends with the test, as it does at an unload: the next
  // test starts from a plugin that was never loaded.
  EndPluginState();
  // Pending kicks hold engine strings until the timer lets them go.
  sim::ResetHost();
  auto& sinks = AsaApi::GetLogSinks();
  sinks.erase(std::remove(sinks.begin(), sinks.end(), log_capture_), sinks.end());
  EXPECT_EQ(sim::LiveEngineBlocks(), live_blocks_at_start_) << "engine blocks leaked";
  std::filesystem::remove_all(dir_);
}

void PluginTest::WriteConfig(const std::string& text) const {
  std::ofstream(ConfigPath(), std::ios::binary | std::ios::trunc) << text;
}

void PluginTest::DeleteConfig() const {
  std::filesystem::remove(ConfigPath());
}

void PluginTest::UseConfig(const std::string& text) const {
  WriteConfig(text);
  ASSERT_NO_THROW(ReadConfig()) << text;
}

void PluginTest::UseDocument(const nlohmann::json& document) const {
  UseConfig(document.dump());
}

void PluginTest::LoadPlugin() {
  Load();
  loaded_ = true;
}

void PluginTest::UnloadPlugin() {
  Unload();
  loaded_ = false;
}

std::vector<std::string> PluginTest::LogRecords() const {
  return static_cast<CaptureSink&>(*log_capture_).Records();
}

std::vector<std::string> PluginTest::LogMessages() const {
  std::vector<std::string> messages;
  for (const std::string& record : LogRecords()) {
    messages.push_back(record.substr(record.find("] ") + 2));
  }
  return messages;
}

std::vector<std::string> PluginTest::ConsoleLines(const std::string& captured) {
  static const std::regex stamp(R"(\d\d/\d\d/\d\d \d\d:\d\d)");
  // Split at the system's line end, so that one written twice shows.
  const std::string_view line_end = ConsoleCapture::kLineEnd;
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < captured.size()) {
    size_t end = captured.find(line_end, at);
    const std::string line = captured.substr(at, end == std::string::npos ? end : end - at);
    lines.push_back(
        std::regex_replace(line, stamp, kStamp, std::regex_constants::format_first_only));
    at = end == std::string::npos ? captured.size() : end + line_end.size();
  }
  return lines;
}

}  // namespace gatehouse
