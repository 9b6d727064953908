#pragma once

#include <memory>
#include <string>
#include <utility>

#include <fmt/core.h>

namespace spdlog {
class logger;
}  // namespace spdlog

namespace gatehouse {

// The plugin's log channel: one synchronous logger whose records reach the
// host's log sinks. The instance in use is a part of the plugin's state
// (plugin/PluginState.h).
class PluginLog {
 public:
  static PluginLog& Get();

  PluginLog() = default;
  PluginLog(const PluginLog&) = delete;
  PluginLog& operator=(const PluginLog&) = delete;

  // Builds the logger under this name over the host's sinks as they are now;
  // a logger built before is let go.
  void Init(const std::string& name);

  // Empty until Init has run.
  const std::shared_ptr<spdlog::logger>& Logger() const { return logger_; }

  // One error record, or nothing while the channel is not open. Never throws:
  // it is what the plugin's failure paths call last.
  template <class... Args>
  void Error(fmt::format_string<Args...> format, Args&&... args) noexcept {
    if (!logger_) {
      return;
    }
    try {
      ErrorText(fmt::format(format, std::forward<Args>(args)...));
    } catch (...) {
      // A record that cannot be written is lost; the caller is already failing.
    }
  }

 private:
  // The record, laid out already: the logger's own formatting stays in one
  // file instead of being compiled again for every caller.
  void ErrorText(const std::string& text);

  std::shared_ptr<spdlog::logger> logger_;
};

}  // namespace gatehouse
