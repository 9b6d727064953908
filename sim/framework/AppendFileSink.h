#pragma once

#include <cstdio>
#include <mutex>
#include <string>

#include <spdlog/sinks/base_sink.h>

namespace sim {

// A log file opened for appending at its first record (creating its folders),
// flushed after every record so that the file is complete at any moment. Its
// path can change; the next record then opens the new file.
class AppendFileSink final : public spdlog::sinks::base_sink<std::mutex> {
 public:
  explicit AppendFileSink(std::string path);
  ~AppendFileSink() override;

  void SetPath(std::string path);

 protected:
  void sink_it_(const spdlog::details::log_msg& record) override;
  void flush_() override;

 private:
  void Close();

  std::string path_;
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

}  // namespace sim
