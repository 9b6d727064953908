// The host's shared log sinks and the host's own logger over them.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include <spdlog/logger.h>
#include <spdlog/sinks/base_sink.h>
#include <spdlog/sinks/stdout_sinks.h>

#include "host/HostLogSink.h"
#include "host/LogSinks.h"
#include "host/Tools.h"
#include "host/Utf8Path.h"
#include "sim/framework/Internal.h"
#include "sim/framework/SimHost.h"
#include "sim/framework/platform/Platform.h"

namespace sim {
namespace {

// A log file opened for appending at its first record (creating its folders),
// flushed after every record so that the file is complete at any moment. Its
// path can change; the next record then opens the new file.
class AppendFileSink final : public spdlog::sinks::base_sink<std::mutex> {
 public:
  explicit AppendFileSink(std::string path) : path_(std::move(path)) {}
  ~AppendFileSink() override { Close(); }

  void SetPath(std::string path) {
    std::lock_guard lock(mutex_);
    Close();
    path_ = std::move(path);
    failed_ = false;
  }

 protected:
  void sink_it_(const spdlog::details::log_msg& record) override {
    if (file_ == nullptr && !failed_) {
      std::error_code ignored;
      std::filesystem::create_directories(PathFromUtf8(path_).parent_path(), ignored);
      file_ = platform::OpenFile(path_, "ab");
      // A log that cannot be opened is not tried again for every record; the
      // records still reach standard error through the other sink.
      failed_ = file_ == nullptr;
    }
    if (file_ == nullptr) {
      return;
    }
    spdlog::memory_buf_t laid_out;
    formatter_->format(record, laid_out);
    std::fwrite(laid_out.data(), 1, laid_out.size(), file_);
    flush_();
  }
  void flush_() override {
    if (file_ != nullptr) {
      std::fflush(file_);
    }
  }

 private:
  void Close() {
    if (file_ != nullptr) {
      std::fclose(file_);
      file_ = nullptr;
    }
  }

  std::string path_;
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

std::string LogPathIn(const std::string& dir) {
  return dir + "/ArkApi/Logs/server.log";
}

struct HostLogging {
  HostLogging() {
    auto to_stderr = std::make_shared<spdlog::sinks::stderr_sink_mt>();
    to_stderr->set_pattern("%v");
    file = std::make_shared<AppendFileSink>(LogPathIn(AsaApi::Tools::GetCurrentDir()));
    file->set_pattern("%v");
    sinks = {to_stderr, file};
    logger = std::make_shared<spdlog::logger>("host", std::make_shared<HostLogSink>(sinks));
    logger->set_pattern("%D %R [%n][%l] %v", spdlog::pattern_time_type::local);
    logger->flush_on(spdlog::level::info);
  }

  std::shared_ptr<AppendFileSink> file;
  std::vector<spdlog::sink_ptr> sinks;
  std::shared_ptr<spdlog::logger> logger;
};

// Plugins hold the sinks until their own teardown.
constexpr auto& TheLogging = NeverDestroyed<HostLogging>;

}  // namespace

void HostLog(LogLevel level, std::string_view text) {
  // The logging library's level of each LogLevel, in its order.
  constexpr spdlog::level::level_enum kLevels[] = {spdlog::level::info, spdlog::level::warn,
                                                   spdlog::level::err};
  TheLogging().logger->log(kLevels[static_cast<size_t>(level)],
                           spdlog::string_view_t(text.data(), text.size()));
}

void RunContained(const std::string& what, const std::function<void()>& run) {
  try {
    run();
  } catch (const std::exception& error) {
    HostLog(LogLevel::error, what + " failed: " + error.what());
  } catch (...) {
    HostLog(LogLevel::error, what + " failed");
  }
}

void MoveLogTo(const std::string& dir) {
  TheLogging().file->SetPath(LogPathIn(dir));
}

}  // namespace sim

std::vector<spdlog::sink_ptr>& AsaApi::GetLogSinks() {
  return sim::TheLogging().sinks;
}
