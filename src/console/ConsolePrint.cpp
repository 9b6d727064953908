#include "console/ConsolePrint.h"

#include <memory>

#include <spdlog/spdlog.h>

#include "console/ConsoleTimestamp.h"
#include "platform/ConsoleSink.h"

namespace gatehouse {

namespace {

constexpr char kLoggerName[] = "custom";

void Print(const char* colour, const std::string& message) {
  if (!TheConsoleLogger().logger) {
    SetupConsoleLogger();
  }
  std::string line;
  line.reserve(message.size() + 32);
  line.append("\x1b[").append(colour).append("m");
  line.append(ConsoleTimestamp()).append(" ");
  line.append(message);
  line.append("\x1b[0m");
  // The line goes out as it is: braces in an identifier or a message are text.
  TheConsoleLogger().logger->log(spdlog::level::info, spdlog::string_view_t(line));
}

}  // namespace

ConsoleLogger::~ConsoleLogger() {
  if (logger) {
    spdlog::drop(kLoggerName);
  }
}

void SetupConsoleLogger() {
  auto sink = Platform::MakeConsoleSink();
  auto logger = std::make_shared<spdlog::logger>(kLoggerName, std::move(sink));
  // Takes the registry's defaults and registers the name, or throws before
  // anything here has changed.
  spdlog::initialize_logger(logger);
  // Held at once, so that the registration ends with the plugin's state.
  ConsoleLogger& console = TheConsoleLogger();
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
