#pragma once

// Apart from InProcessServer.h: the logging library's sink headers bring in
// the system's headers on Windows, and with them macros such as `near`.

#include <mutex>
#include <string>
#include <vector>

#include <spdlog/sinks/base_sink.h>

namespace gatehouse::harness {

// A log sink that keeps the text of each record: the plugin's log channel
// lays records out itself and hands the host's sinks the finished text.
class RecordSink final : public spdlog::sinks::base_sink<std::mutex> {
 public:
  std::vector<std::string> records;

 protected:
  void sink_it_(const spdlog::details::log_msg& record) override {
    records.emplace_back(record.payload.data(), record.payload.size());
  }
  void flush_() override {}
};

}  // namespace gatehouse::harness
