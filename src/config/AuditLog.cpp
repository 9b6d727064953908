#include "config/AuditLog.h"

#include <ctime>
#include <exception>
#include <memory>

#include <fmt/chrono.h>
#include <fmt/format.h>
#include <spdlog/details/log_msg.h>
#include <spdlog/sinks/rotating_file_sink.h>

#include "common/PluginLog.h"
#include "config/PluginConfig.h"
#include "config/ReadConfig.h"
#include "config/Settings.h"
#include "host/Utf8Path.h"

namespace gatehouse {

namespace {

using OrderedJson = nlohmann::ordered_json;

// audit.log grows to this size, then becomes audit.1.log (audit.1.log becomes
// audit.2.log, and so on); the oldest beyond kAuditFiles is deleted. At most
// 4 x 10 MiB on disk.
constexpr size_t kAuditFileSize = 10 * 1024 * 1024;
constexpr size_t kAuditFiles = 3;
// How long records are dropped after audit.log could not be written.
constexpr std::chrono::seconds kRetryDelay{10};

}  // namespace

// Tells the host log about a failure unless it was the last one told.
void AuditChannel::Fail(const std::string& failure) noexcept {
  try {
    if (failure == told) {
      return;
    }
    told = failure;
  } catch (...) {
    return;
  }
  PluginLog::Get().Error("AuditLog: {}", failure);
}

// Opens audit.log where config.json is now, unless it is open there.
void AuditChannel::Open() {
  const std::string wanted = AuditLogPath();
  if (sink && path == wanted) {
    return;
  }
  sink.reset();
  sink = std::make_shared<spdlog::sinks::rotating_file_sink_st>(PathFromUtf8(wanted).native(),
                                                                kAuditFileSize, kAuditFiles);
  sink->set_pattern("%v");
  path = wanted;
}

void AuditChannel::Write(const std::string& line) {
  Open();
  const spdlog::details::log_msg message(spdlog::source_loc{}, "", spdlog::level::info,
                                         spdlog::string_view_t(line.data(), line.size()));
  sink->log(message);
  sink->flush();
  told.clear();
}

std::string AuditLogPath() {
  return Utf8FromPath(PathFromUtf8(ConfigPath()).parent_path() / "audit.log");
}

std::string AuditTime(std::chrono::system_clock::time_point time) {
  const auto since_epoch = time.time_since_epoch();
  const auto seconds = std::chrono::floor<std::chrono::seconds>(since_epoch);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(since_epoch - seconds).count();
  const std::tm utc = fmt::gmtime(static_cast<std::time_t>(seconds.count()));
  return fmt::format("{:%Y-%m-%dT%H:%M:%S}.{:03}Z", utc, millis);
}

std::string AuditLine(std::chrono::system_clock::time_point time, std::string_view event,
                      const nlohmann::json& fields) {
  OrderedJson record;
  record["time"] = AuditTime(time);
  record["event"] = std::string(event);
  if (fields.is_object()) {
    for (const auto& [key, value] : fields.items()) {
      record[key] = value;
    }
  }
  // An Identifier or a message may hold any bytes: those that are not UTF-8
  // are written as U+FFFD rather than failing the record.
  return record.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

bool AuditOn() noexcept {
  try {
    if (!PluginConfig().is_object()) {
      return false;
    }
    return Settings::AuditLog();
  } catch (const std::exception& error) {
    TheAuditChannel().Fail(std::string("the setting cannot be read, nothing recorded: ") +
                           error.what());
  } catch (...) {
    TheAuditChannel().Fail("the setting cannot be read, nothing recorded");
  }
  return false;
}

void Audit(std::string_view event, const nlohmann::json& fields) noexcept {
  if (!AuditOn()) {
    return;
  }
  AuditChannel& channel = TheAuditChannel();
  const auto now = std::chrono::steady_clock::now();
  if (!channel.sink && now < channel.retry_after) {
    return;
  }
  try {
    channel.Write(AuditLine(std::chrono::system_clock::now(), event, fields));
    return;
  } catch (const std::exception& error) {
    channel.Fail(std::string("cannot write audit.log, records are lost: ") + error.what());
  } catch (...) {
    channel.Fail("cannot write audit.log, records are lost");
  }
  // Opened again after a while: the folder may be writable by then.
  channel.sink.reset();
  channel.retry_after = now + kRetryDelay;
}

void AuditBuildFailed(std::string_view event, const char* what) noexcept {
  try {
    TheAuditChannel().Fail(fmt::format("the {} record is lost: {}", event, what));
  } catch (...) {
    // Nothing more can be told.
  }
}

std::string AuditLogProblem() noexcept {
  try {
    TheAuditChannel().Open();
    return {};
  } catch (const std::exception& error) {
    TheAuditChannel().sink.reset();
    return error.what();
  } catch (...) {
    TheAuditChannel().sink.reset();
    return "unknown error";
  }
}

}  // namespace gatehouse
