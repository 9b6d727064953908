#pragma once

#include <vector>

#include <spdlog/common.h>

namespace AsaApi {

// The host's log sinks, shared with every plugin. They write each record's text
// as it stands, followed by a line end: a logger that wants a layout of its own
// formats its records itself (host/HostLogSink.h) and never sets a formatter on
// these sinks, whose lifetime is the host's and not the logger's.
std::vector<spdlog::sink_ptr>& GetLogSinks();

}  // namespace AsaApi
