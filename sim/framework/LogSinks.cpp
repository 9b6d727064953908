// The host's shared log sinks and the host's own logger over them.

#include <memory>
#include <string>
#include <vector>

#include <spdlog/logger.h>
#include <spdlog/sinks/stdout_sinks.h>

#include "host/HostLogSink.h"
#include "host/LogSinks.h"
#include "host/Tools.h"
#include "sim/framework/AppendFileSink.h"
#include "sim/framework/Internal.h"
#include "sim/framework/SimHost.h"

namespace sim {
namespace {

std::string LogPathIn(const std::string& dir) {
  return dir + "/ArkApi/Logs/server.log";
}

struct HostLogging {
  HostLogging() {
    auto to_stderr = std::make_shared<spdlog::sinks::stderr_sink_mt>();
    to_stderr->set_pattern("%v");
    file = std::make_shared<AppendFileSink>(LogPathIn(AsaApi::Tools::GetCurrentDir()));
    file->set_pattern("%v");
    sinks = {to_stderr, file};
    logger = std::make_shared<spdlog::logger>("host", std::make_shared<HostLogSink>(sinks));
    logger->set_pattern("%D %R [%n][%l] %v", spdlog::pattern_time_type::local);
    logger->flush_on(spdlog::level::info);
  }

  std::shared_ptr<AppendFileSink> file;
  std::vector<spdlog::sink_ptr> sinks;
  std::shared_ptr<spdlog::logger> logger;
};

HostLogging& TheLogging() {
  // Never destroyed: plugins hold the sinks until their own teardown.
  static auto* logging = new HostLogging();
  return *logging;
}

spdlog::level::level_enum ToSpdlog(LogLevel level) {
  switch (level) {
    case LogLevel::info:
      return spdlog::level::info;
    case LogLevel::warning:
      return spdlog::level::warn;
    case LogLevel::error:
      return spdlog::level::err;
  }
  return spdlog::level::err;
}

}  // namespace

void HostLog(LogLevel level, std::string_view text) {
  TheLogging().logger->log(ToSpdlog(level), spdlog::string_view_t(text.data(), text.size()));
}

// The server's folder moved: the next record opens the log there.
void MoveLogTo(const std::string& dir) {
  TheLogging().file->SetPath(LogPathIn(dir));
}

}  // namespace sim

std::vector<spdlog::sink_ptr>& AsaApi::GetLogSinks() {
  return sim::TheLogging().sinks;
}
