#include "operator/StatusReport.h"

#include <ctime>
#include <exception>
#include <filesystem>
#include <system_error>

#include <nlohmann/json.hpp>

#include "admission/OnlinePlayers.h"
#include "common/Names.h"
#include "config/AuditLog.h"
#include "config/ConfigReads.h"
#include "config/PluginConfig.h"
#include "config/ReadConfig.h"
#include "config/SettingRead.h"
#include "config/Settings.h"
#include "host/Utf8Path.h"
#include "platform/Platform.h"

namespace gatehouse {

namespace {

using nlohmann::json;

std::string Stamp(std::time_t when) {
  const std::tm local = Platform::LocalTime(when);
  char text[32];
  const size_t length = std::strftime(text, sizeof(text), "%Y-%m-%d %H:%M:%S", &local);
  return std::string(text, length);
}

std::string FileState() {
  std::string bytes;
  try {
    bytes = ReadConfigBytes(ConfigPath());
  } catch (const std::exception& error) {
    std::error_code ignored;
    if (!std::filesystem::exists(PathFromUtf8(ConfigPath()), ignored)) {
      return "config.json: missing";
    }
    return std::string("config.json: unreadable (") + error.what() + ")";
  }
  const std::optional<Fingerprint>& in_force = Reads().in_force;
  if (in_force && FingerprintOf(bytes) == *in_force) {
    return "config.json: the same bytes as the settings in force";
  }
  return "config.json: changed on disk since the last read (send Gatehouse.Reload to use it)";
}

std::string LastRead() {
  const ConfigReads& reads = Reads();
  if (reads.last_read_ok) {
    return "last read: ok at " + Stamp(reads.last_read);
  }
  return "last read: failed at " + Stamp(reads.last_read) + ": " + reads.last_error;
}

// A setting's line: its value in force, "(default)" when absent, or the
// error its read meets.
template <class Read>
std::string SettingLine(const char* key, Read read) {
  try {
    const bool absent = FindSetting(key) == nullptr;
    return std::string(key) + ": " + read() + (absent ? " (default)" : "");
  } catch (const std::exception& error) {
    return std::string(key) + ": error: " + error.what();
  }
}

std::string Value(const json& value) {
  return value.dump();
}

// A list's number of entries, as its walk counts them; an entry that is not a
// string raises the walk's own error.
std::string Count(const json& list) {
  size_t count = 0;
  for (const json& entry : list) {
    static_cast<void>(entry.get<std::string>());
    ++count;
  }
  return std::to_string(count) + (count == 1 ? " entry" : " entries");
}

// AuditLog's value, and when it is on, why audit.log cannot be written.
std::string AuditLogValue() {
  const bool on = Settings::AuditLog();
  const std::string problem = on ? AuditLogProblem() : std::string();
  return Value(on) + (problem.empty() ? "" : "; audit.log cannot be written: " + problem);
}

}  // namespace

std::string StatusReport() {
  std::string report = std::string(Names::kPlugin) + " " + GATEHOUSE_VERSION;
  report += "\n" + FileState();
  report += "\n" + LastRead();
  const auto line = [&](const char* key, auto read) { report += "\n" + SettingLine(key, read); };
  line("OnlyWhitelisted", [] { return Value(Settings::OnlyWhitelisted()); });
  line("DebugPostLogin", [] { return Value(Settings::DebugPostLogin()); });
  line(Settings::kWhitelistedGroups, [] { return Count(Settings::WhitelistedGroups()); });
  line(Settings::kWhitelistedPlayers, [] { return Count(Settings::WhitelistedPlayers()); });
  line("KickMessage", [] { return Value(Settings::KickMessage()); });
  line("KickTimer", [] { return Value(Settings::KickTimer()); });
  line("UseBlacklist", [] { return Value(Settings::UseBlacklist()); });
  line(Settings::kBlacklistedGroups, [] { return Count(Settings::BlacklistedGroups()); });
  line("BlacklistKickMessage", [] { return Value(Settings::BlacklistKickMessage()); });
  line("AllowJoinFullServer", [] { return Value(Settings::AllowJoinFullServer()); });
  line("DebugPreLogin", [] { return Value(Settings::DebugPreLogin()); });
  line("ReloadOnChange", [] { return Value(Settings::ReloadOnChange()); });
  line("AuditLog", [] { return AuditLogValue(); });
  report += "\nplayers tracked: " + std::to_string(Online().Count()) +
            " (seen at post-login since the plugin loaded)";
  return report;
}

}  // namespace gatehouse
