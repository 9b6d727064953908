#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include <nlohmann/json.hpp>

namespace spdlog::sinks {
class sink;
}  // namespace spdlog::sinks

namespace gatehouse {

// The audit log: when the setting AuditLog is on, one JSON object a line in
// audit.log beside config.json, each flushed as it is written. A record is
//
//   {"time":"2026-12-08T18:47:03.125Z","event":EVENT, FIELDS...}
//
// with the fields in the order given. Every call site is one line:
//
//   Audit("add", {{"id", id}, {"reason", "..."}});
//   Audit("bypass", [&] { return nlohmann::json{{"id", id}, {"reason", Why(id)}}; });
//
// The second form builds its fields only when AuditLog is on, so what they
// cost (a permissions query, say) is spent only then. Nothing here ever
// throws or reaches the game: a record that cannot be built or written is
// lost, and the failure goes once to the host log (again only after a record
// was written in between, or for a different failure).
//
// Events and their fields are listed in docs/operators.md.
void Audit(std::string_view event, const nlohmann::json& fields) noexcept;

template <class Build, class = std::enable_if_t<std::is_invocable_v<Build>>>
void Audit(std::string_view event, Build&& build) noexcept;

// True when the settings in force turn the audit log on. A document that is
// not an object counts as off without a word (the hooks report it); a value
// that is not a boolean counts as off and is logged once.
bool AuditOn() noexcept;

// Why audit.log cannot be written now, opening it if it is not open; empty
// when it can. What Gatehouse.Status shows beside AuditLog.
std::string AuditLogProblem() noexcept;

// The open audit.log and the last failure told on the host log: a part of the
// plugin's state (plugin/PluginState.h), so Unload closes the file.
struct AuditChannel {
  std::shared_ptr<spdlog::sinks::sink> sink;
  std::string path;
  std::string told;
  // After a failure the file is not tried again before this moment: an open
  // that fails makes the logging library wait and try again several times,
  // which the game must not pay at every record.
  std::chrono::steady_clock::time_point retry_after;

  void Fail(const std::string& failure) noexcept;
  void Open();
  void Write(const std::string& line);
};
AuditChannel& TheAuditChannel();

// The full path of audit.log (UTF-8): beside config.json.
std::string AuditLogPath();

// The text of one record, without its line end: the time, the event, then the
// fields of this object in their order. Bytes that are not UTF-8 in any text
// become U+FFFD, so the line is always valid JSON.
std::string AuditLine(std::chrono::system_clock::time_point time, std::string_view event,
                      const nlohmann::json& fields);

// UTC in ISO 8601 with milliseconds and a final Z: 2026-12-08T18:47:03.125Z.
std::string AuditTime(std::chrono::system_clock::time_point time);

// Logs, once, a record that could not be built; the implementation of the
// template below.
void AuditBuildFailed(std::string_view event, const char* what) noexcept;

template <class Build, class>
void Audit(std::string_view event, Build&& build) noexcept {
  if (!AuditOn()) {
    return;
  }
  nlohmann::json fields;
  try {
    fields = std::forward<Build>(build)();
  } catch (const std::exception& error) {
    AuditBuildFailed(event, error.what());
    return;
  } catch (...) {
    AuditBuildFailed(event, "unknown error");
    return;
  }
  Audit(event, fields);
}

}  // namespace gatehouse
