#include "platform/ConsoleSink.h"

// The colour sink's code is compiled here: this console sink and the logging
// library's default logger (common/LoggingLibraries.cpp) are its users.
#include <spdlog/sinks/ansicolor_sink-inl.h>
#include <spdlog/sinks/ansicolor_sink.h>

template class spdlog::sinks::ansicolor_sink<spdlog::details::console_mutex>;
template class spdlog::sinks::ansicolor_stdout_sink<spdlog::details::console_mutex>;

namespace gatehouse {

namespace Platform {

std::shared_ptr<spdlog::sinks::sink> MakeConsoleSink() {
  return std::make_shared<spdlog::sinks::ansicolor_stdout_sink_mt>();
}

}  // namespace Platform

}  // namespace gatehouse
