#include "common/PluginLog.h"

#include "host/HostLogSink.h"
#include "host/LogSinks.h"

#include <spdlog/logger.h>

namespace gatehouse {

void PluginLog::Init(const std::string& name) {
  // One sink of our own in front of the host's: the pattern below stays with
  // it, and nothing of this library is ever handed to a sink the host keeps.
  auto sink = std::make_shared<HostLogSink>(AsaApi::GetLogSinks());
  auto logger = std::make_shared<spdlog::logger>(name, std::move(sink));
  logger->set_pattern("%D %R [%n][%l] %v", spdlog::pattern_time_type::local);
  logger->flush_on(spdlog::level::info);
  logger_ = std::move(logger);
}

void PluginLog::ErrorText(const std::string& text) {
  logger_->log(spdlog::level::err, spdlog::string_view_t(text));
}

}  // namespace gatehouse
