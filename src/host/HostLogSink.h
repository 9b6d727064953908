#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <spdlog/details/log_msg.h>
#include <spdlog/pattern_formatter.h>
#include <spdlog/sinks/sink.h>

// A logger's own sink in front of the host's shared sinks. It lays a record out
// with the logger's pattern once and hands the finished text to every host sink
// whose level the record reaches. The formatter stays here, with the logger's
// owner: a pattern set on a logger over this sink never reaches the host's
// sinks, so nothing of the owner's code is left behind in them when the owner's
// library is unloaded.
class HostLogSink final : public spdlog::sinks::sink {
 public:
  explicit HostLogSink(std::vector<spdlog::sink_ptr> host_sinks)
      : host_sinks_(std::move(host_sinks)),
        formatter_(std::make_unique<spdlog::pattern_formatter>()) {}

  void log(const spdlog::details::log_msg& record) override {
    std::lock_guard lock(mutex_);
    spdlog::memory_buf_t laid_out;
    formatter_->format(record, laid_out);
    // The host's sinks end each text with their own line end.
    size_t size = laid_out.size();
    while (size > 0 && (laid_out[size - 1] == '\n' || laid_out[size - 1] == '\r')) {
      --size;
    }
    const spdlog::details::log_msg text(record.time, record.source, record.logger_name,
                                        record.level, spdlog::string_view_t(laid_out.data(), size));
    for (const auto& host_sink : host_sinks_) {
      if (host_sink->should_log(record.level)) {
        host_sink->log(text);
      }
    }
  }

  void flush() override {
    std::lock_guard lock(mutex_);
    for (const auto& host_sink : host_sinks_) {
      host_sink->flush();
    }
  }

  void set_pattern(const std::string& pattern) override {
    set_formatter(std::make_unique<spdlog::pattern_formatter>(pattern));
  }

  void set_formatter(std::unique_ptr<spdlog::formatter> formatter) override {
    std::lock_guard lock(mutex_);
    formatter_ = std::move(formatter);
  }

 private:
  std::mutex mutex_;
  std::vector<spdlog::sink_ptr> host_sinks_;
  std::unique_ptr<spdlog::formatter> formatter_;
};
