#include "platform/ConsoleSink.h"

#include <spdlog/sinks/ansicolor_sink.h>

namespace gatehouse {

namespace Platform {

std::shared_ptr<spdlog::sinks::sink> MakeConsoleSink() {
  return std::make_shared<spdlog::sinks::ansicolor_stdout_sink_mt>();
}

}  // namespace Platform

}  // namespace gatehouse
