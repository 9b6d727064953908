#include "platform/ConsoleSink.h"

#include <spdlog/sinks/wincolor_sink.h>

namespace gatehouse {

namespace Platform {

// Writes straight to the standard output handle, not through the C runtime's
// text-mode stream, so "\r\n" goes out as it is instead of as "\r\r\n".
std::shared_ptr<spdlog::sinks::sink> MakeConsoleSink() {
  return std::make_shared<spdlog::sinks::wincolor_stdout_sink_mt>();
}

}  // namespace Platform

}  // namespace gatehouse
