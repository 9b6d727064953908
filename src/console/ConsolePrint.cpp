#include "console/ConsolePrint.h"

#include <memory>

#include <spdlog/spdlog.h>

#include "common/ProcessState.h"
#include "console/ConsoleTimestamp.h"
#include "platform/ConsoleSink.h"

namespace gatehouse {

namespace {

constexpr char kLoggerName[] = "custom";

// A part of the process state. The console logger it registered leaves the
// logging registry with it, as it would with the library's own registry at
// unload: a plugin loaded again sets it up afresh.
struct ConsoleState {
  ConsoleState() = default;
  ConsoleState(const ConsoleState&) = delete;
  ConsoleState& operator=(const ConsoleState&) = delete;
  ~ConsoleState() {
    if (logger) {
      spdlog::drop(kLoggerName);
    }
  }

  // Set once the logger is registered under its name.
  std::shared_ptr<spdlog::logger> logger;
};

ConsoleState& Console() {
  return ProcessState::Get<ConsoleState>();
}

void Print(const char* colour, const std::string& message) {
  if (!Console().logger) {
    SetupConsoleLogger();
  }
  std::string line;
  line.reserve(message.size() + 32);
  line.append("\x1b[").append(colour).append("m");
  line.append(ConsoleTimestamp()).append(" ");
  line.append(message);
  line.append("\x1b[0m");
  // The line goes out as it is: braces in an identifier or a message are text.
  Console().logger->log(spdlog::level::info, spdlog::string_view_t(line));
}

}  // namespace

void SetupConsoleLogger() {
  auto sink = Platform::MakeConsoleSink();
  auto logger = std::make_shared<spdlog::logger>(kLoggerName, std::move(sink));
  // Takes the registry's defaults and registers the name, or throws before
  // anything here has changed.
  spdlog::initialize_logger(logger);
  // Held at once, so that the registration ends with the process state.
  ConsoleState& console = Console();
  console.logger = std::move(logger);
  console.logger->set_pattern("%v", spdlog::pattern_time_type::local);
}

void ConsolePrintInfo(std::string message) {
  Print("36", message);
}

void ConsolePrintAlert(std::string message) {
  Print("33", message);
}

}  // namespace gatehouse
