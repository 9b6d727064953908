#include "platform/ConsoleSink.h"

// The colour sink's code is compiled here: this console sink and the logging
// library's default logger (common/LoggingLibraries.cpp) are its users.
#include <spdlog/sinks/wincolor_sink-inl.h>
#include <spdlog/sinks/wincolor_sink.h>

template class spdlog::sinks::wincolor_sink<spdlog::details::console_mutex>;
template class spdlog::sinks::wincolor_stdout_sink<spdlog::details::console_mutex>;

namespace gatehouse {

namespace Platform {

// Writes straight to the standard output handle, not through the C runtime's
// text-mode stream, so "\r\n" goes out as it is instead of as "\r\r\n".
std::shared_ptr<spdlog::sinks::sink> MakeConsoleSink() {
  return std::make_shared<spdlog::sinks::wincolor_stdout_sink_mt>();
}

}  // namespace Platform

}  // namespace gatehouse
