#pragma once

#include <memory>
#include <string>

namespace spdlog {
class logger;
}  // namespace spdlog

namespace gatehouse {

// Coloured, time-stamped lines on the server console (standard output), apart
// from the log channel. A line is ESC "[" code "m", the stamp, one space, the
// message byte for byte, then ESC "[0m".

// Creates the console logger "custom" in the logging registry. The registry
// refuses the name a second time (spdlog::spdlog_ex); the logger in use then
// stays as it was.
void SetupConsoleLogger();

// The console logger in use: a part of the plugin's state
// (plugin/PluginState.h). The logger it registered leaves the logging registry
// with it, as it would with the library's own registry at unload: a plugin
// loaded again sets it up afresh.
class ConsoleLogger {
 public:
  ConsoleLogger() = default;
  ConsoleLogger(const ConsoleLogger&) = delete;
  ConsoleLogger& operator=(const ConsoleLogger&) = delete;
  ~ConsoleLogger();

  // Set once the logger is registered under its name.
  std::shared_ptr<spdlog::logger> logger;
};
ConsoleLogger& TheConsoleLogger();

// Cyan (36): debug identifiers and the capacity bypass.
void ConsolePrintInfo(std::string message);

// Yellow (33): kick decisions.
void ConsolePrintAlert(std::string message);

}  // namespace gatehouse
