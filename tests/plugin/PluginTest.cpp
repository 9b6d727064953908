#include "PluginTest.h"

#include <regex>
#include <string_view>

#include "harness/RecordSink.h"

namespace gatehouse {

void PluginTest::SetUp() {
  harness::console::PrepareCapture();
  recording_permissions::Clear();
  log_capture_ = std::make_shared<harness::RecordSink>();
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  harness::Options options;
  options.permissions_library = GATEHOUSE_TEST_PERMISSIONS_LIBRARY;
  options.output = [this](std::string_view line) { server_lines_.emplace_back(line); };
  options.errors = nullptr;
  options.log_sinks = {log_capture_};
  server_ = std::make_unique<harness::Server>(
      std::string("gatehouse-plugin-") + info->test_suite_name() + "." + info->name(),
      std::move(options));
  dir_ = server_->Folder();
}

void PluginTest::TearDown() {
  EXPECT_EQ(server_->Close(), 0) << "engine blocks leaked";
}

void PluginTest::UseConfig(const std::string& text) const {
  ASSERT_NO_THROW(server_->UseConfig(text)) << text;
}

std::vector<std::string> PluginTest::LogRecords() const {
  return log_capture_->records;
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
  const std::string_view line_end = harness::console::kLineEnd;
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
