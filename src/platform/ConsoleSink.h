#pragma once

#include <memory>

#include <spdlog/sinks/sink.h>

namespace gatehouse {

namespace Platform {

// The system's colour console sink on standard output, guarded by a mutex. Its
// line end is the system's own, written once.
std::shared_ptr<spdlog::sinks::sink> MakeConsoleSink();

}  // namespace Platform

}  // namespace gatehouse
