#include "sim/operator/ConfigCheck.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>

#include "admission/JoinDecision.h"
#include "admission/ListMembership.h"
#include "config/PluginConfig.h"
#include "config/ReadConfig.h"
#include "config/SettingRead.h"
#include "config/Settings.h"
#include "host/Utf8Path.h"

namespace sim::op {
namespace {

using nlohmann::json;
namespace Settings = gatehouse::Settings;

struct Setting {
  const char* key;
  // The plugin's own read: a copy for a single value, the member itself for a
  // list, which is never copied (a list may be of any depth and size).
  std::function<json()> read;
  const json& (*list)() = nullptr;
  // A setting of a cluster's servers shows in the table only when the file
  // names it, so that a single server's table stays as it was.
  bool shown_when_absent = true;
};

const std::vector<Setting>& TheSettings() {
  static const std::vector<Setting> settings{
      {"OnlyWhitelisted", [] { return json(Settings::OnlyWhitelisted()); }},
      {"DebugPostLogin", [] { return json(Settings::DebugPostLogin()); }},
      {"WhitelistedGroups", nullptr, &Settings::WhitelistedGroups},
      {"WhitelistedPlayers", nullptr, &Settings::WhitelistedPlayers},
      {"KickMessage", [] { return json(Settings::KickMessage()); }},
      {"KickTimer", [] { return json(Settings::KickTimer()); }},
      {"UseBlacklist", [] { return json(Settings::UseBlacklist()); }},
      {"BlacklistedGroups", nullptr, &Settings::BlacklistedGroups},
      {"BlacklistKickMessage", [] { return json(Settings::BlacklistKickMessage()); }},
      {"AllowJoinFullServer", [] { return json(Settings::AllowJoinFullServer()); }},
      {"DebugPreLogin", [] { return json(Settings::DebugPreLogin()); }},
      {"ReloadOnChange", [] { return json(Settings::ReloadOnChange()); }, nullptr, false},
  };
  return settings;
}

// One setting read: its value, or the error the plugin meets reading it (for a
// list, walking it).
struct Read {
  json value;
  std::optional<std::string> error;
  bool has_entry = false;   // a list with at least one string entry
  std::string bad_entries;  // a list's entries that are not strings, by position
};

bool IsAscii(const std::string& text) {
  return std::ranges::all_of(text, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string ToLowerAscii(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return text;
}

// True when a number reads as the value it shows (5 or 5.0 as 5), not as a
// truncated, wrapped or converted one.
bool ReadsAsItself(const json& raw, int32_t read) {
  if (raw.is_number_float()) {
    return raw.get<double>() == static_cast<double>(read);
  }
  return raw.is_number_integer() && raw == json(read);
}

// A stand-in for a list entry with the same type and, for a single value, the
// same value: what the list test meets on it is the same, and an array or
// object entry of any depth is never copied.
json Shallow(const json& entry) {
  return entry.is_array() ? json::array() : entry.is_object() ? json::object() : entry;
}

// Why audit.log beside this configuration file cannot be opened for writing;
// empty when it can. A file made for the test is removed again.
std::string AuditLogUnwritable(const std::string& config_path) {
  const std::filesystem::path path = std::filesystem::path(config_path).parent_path() / "audit.log";
  std::error_code ignored;
  const bool existed = std::filesystem::exists(path, ignored);
  std::ofstream probe(path, std::ios::app | std::ios::binary);
  if (!probe) {
    return std::strerror(errno);
  }
  probe.close();
  if (!existed) {
    std::filesystem::remove(path, ignored);
  }
  return {};
}

// The top-level member names of the file's first value, in file order, with
// repeats (the document keeps only the last of each). The plugin's read of the
// same file succeeded, so this one reaches every key; what follows the first
// value is not looked at, as the plugin does not. No value is kept.
std::vector<std::string> KeysInFile(const std::string& path) {
  std::vector<std::string> keys;
  std::ifstream file(PathFromUtf8(path));
  const json discarded = json::parse(
      file,
      [&](int depth, json::parse_event_t event, json& parsed) {
        if (event == json::parse_event_t::key && depth == 1) {
          keys.push_back(parsed.get<std::string>());
        }
        return event != json::parse_event_t::key;
      },
      false);
  return keys;
}

class Checker {
 public:
  explicit Checker(CheckResult& result) : result_(result) {}

  void Run() {
    const json& document = gatehouse::PluginConfig();
    if (!document.is_object()) {
      NotAnObject(document);
      return;
    }
    for (const Setting& setting : TheSettings()) {
      reads_[setting.key] = ReadOne(setting, document);
    }
    CheckAuditLog(document);
    ReportReadFailures();
    WarnAboutKeys();
    WarnAboutValues(document);
    std::stable_partition(result_.findings.begin(), result_.findings.end(),
                          [](const Finding& f) { return f.severity == Severity::error; });
  }

 private:
  void Add(Severity severity, std::string subject, std::string text, std::string met = {}) {
    result_.findings.push_back({severity, std::move(subject), std::move(text), std::move(met)});
  }

  void NotAnObject(const json& document) {
    std::string what;
    try {
      Settings::AllowJoinFullServer();
    } catch (const std::exception& error) {
      what = error.what();
    }
    Add(Severity::error, "",
        std::string("the document is ") + document.type_name() +
            ", not an object: every setting read fails with " + what,
        what);
    for (const Setting& setting : TheSettings()) {
      if (setting.shown_when_absent) {
        AddRow(setting.key, json(), false, false, false);
      }
    }
  }

  // The value is shown bounded, and kept whole only when it is small.
  void AddRow(const char* key, const json& value, bool is_default, bool readable, bool present) {
    SettingRow row{key, ShowValue(value), json(), is_default, readable, present};
    if (!row.shown.shortened) {
      row.value = value;
    }
    result_.settings.push_back(std::move(row));
  }

  Read ReadOne(const Setting& setting, const json& document) {
    Read read;
    const auto member = document.find(setting.key);
    const bool present = member != document.end();
    if (setting.list != nullptr) {
      const json& list = setting.list();
      AddRow(setting.key, list, !present, true, present);
      WalkList(setting.key, list, read);
      return read;
    }
    try {
      read.value = setting.read();
    } catch (const std::exception& error) {
      read.error = error.what();
      AddRow(setting.key, *member, false, false, true);
      return read;
    }
    if (present || setting.shown_when_absent) {
      AddRow(setting.key, read.value, !present, true, present);
    }
    return read;
  }

  // Every entry through the plugin's own list test, one entry at a time, so
  // that each entry that is not a string is found with its position; the
  // error a join meets is that of the first one.
  void WalkList(const std::string& key, const json& list, Read& read) {
    size_t position = 0;
    for (const json& entry : list) {
      ++position;
      try {
        gatehouse::IsListedPlayer(FString(), json::array({Shallow(entry)}));
      } catch (const std::exception& error) {
        if (!read.error) {
          read.error = error.what();
        }
        read.bad_entries += (read.bad_entries.empty() ? "entry " : ", entry ") +
                            std::to_string(position) + " is " + entry.type_name();
        continue;
      }
      read.has_entry = true;
      const std::string text = entry.get<std::string>();
      if (!IsAscii(text)) {
        Add(Severity::warning, key,
            "entry " + std::to_string(position) + " " + ShowValue(entry).text +
                " is not ASCII: entries reach the host byte by byte, so it does not match the "
                "same name written by the game");
      }
    }
    if (!read.bad_entries.empty()) {
      read.bad_entries += " (entries must be strings)";
    }
  }

  // AuditLog is read at each record, never by a join's decision: its row shows
  // only when the file names it, so that the report of a file without it
  // stays as it was.
  void CheckAuditLog(const json& document) {
    if (!document.contains("AuditLog")) {
      return;
    }
    const Setting setting{"AuditLog", [] { return json(Settings::AuditLog()); }};
    const Read read = ReadOne(setting, document);
    reads_[setting.key] = read;
    if (read.error) {
      // The plugin meets it at its first record, and logs it.
      Add(Severity::error, setting.key,
          *read.error + " (the audit log stays off; the plugin logs this once)", *read.error);
    } else if (read.value.get<bool>()) {
      const std::string problem = AuditLogUnwritable(result_.path);
      if (!problem.empty()) {
        Add(Severity::warning, setting.key,
            "on, but audit.log beside this file cannot be written: " + problem +
                " (records are lost; the plugin logs this once)");
      }
    }
  }

  bool Ok(const char* key) const { return !reads_.at(key).error; }
  bool On(const char* key) const { return Ok(key) && reads_.at(key).value.get<bool>(); }
  bool HasEntry(const char* key) const { return Ok(key) && reads_.at(key).has_entry; }

  // The reads a join can reach: the plugin's own decisions walked with the
  // settings as they are, for a player who is whitelisted or not and
  // blacklisted or not (each only where a list has an entry to match), while
  // a log takes the keys they read. A read that fails ends its hook's work
  // for that join, as it does in the hook.
  std::set<std::string> ReachedReads() const {
    const bool can_whitelist = HasEntry("WhitelistedGroups") || HasEntry("WhitelistedPlayers");
    const bool can_blacklist = HasEntry("BlacklistedGroups");
    std::set<std::string> reached;
    for (const bool whitelisted : {false, true}) {
      for (const bool blacklisted : {false, true}) {
        if ((whitelisted && !can_whitelist) || (blacklisted && !can_blacklist)) {
          continue;
        }
        gatehouse::SettingReadLog log;
        Reaching reaching(*this, whitelisted, blacklisted);
        try {
          gatehouse::DecidePreLogin(reaching);
        } catch (const std::exception&) {
        }
        try {
          gatehouse::DecidePostLogin(reaching,
                                     [](const char*, gatehouse::StepOutcome) { return true; });
        } catch (const std::exception&) {
        }
        reached.insert(log.keys.begin(), log.keys.end());
      }
    }
    return reached;
  }

  // A join's steps with the list tests answered in advance. A list that holds
  // an entry that is not a string fails its test, as the plugin's does.
  class Reaching final : public gatehouse::JoinSteps {
   public:
    Reaching(const Checker& checker, bool whitelisted, bool blacklisted)
        : checker_(checker), whitelisted_(whitelisted), blacklisted_(blacklisted) {}

    // A value it cannot read ends only its own look.
    void LookForChange() override {
      try {
        Settings::ReloadOnChange();
      } catch (const std::exception&) {
      }
    }
    const FString* Player() override { return &player_; }
    bool Whitelisted(const FString&) override {
      Walk(Settings::WhitelistedGroups, Settings::kWhitelistedGroups);
      Walk(Settings::WhitelistedPlayers, Settings::kWhitelistedPlayers);
      return whitelisted_;
    }
    bool Blacklisted(const FString&) override {
      Walk(Settings::BlacklistedGroups, Settings::kBlacklistedGroups);
      return blacklisted_;
    }

   private:
    void Walk(const json& (*list)(), const char* key) const {
      list();
      if (!checker_.Ok(key)) {
        throw std::runtime_error(*checker_.reads_.at(key).error);
      }
    }

    const Checker& checker_;
    bool whitelisted_;
    bool blacklisted_;
    FString player_;
  };

  void ReportReadFailures() {
    const std::set<std::string> reached = ReachedReads();
    for (const Setting& setting : TheSettings()) {
      const Read& read = reads_.at(setting.key);
      if (!read.error) {
        continue;
      }
      const std::string text =
          (read.bad_entries.empty() ? "" : read.bad_entries + ": ") + *read.error;
      if (reached.count(setting.key) != 0) {
        Add(Severity::error, setting.key, text, *read.error);
      } else {
        Add(Severity::warning, setting.key,
            text +
                " (no join reads it while the other settings stay as they are; it fails "
                "once one does)");
      }
    }
  }

  void WarnAboutKeys() {
    std::map<std::string, int> times;
    std::vector<std::string> order;
    for (const std::string& key : KeysInFile(result_.path)) {
      if (times[key]++ == 0) {
        order.push_back(key);
      }
    }
    for (const std::string& key : order) {
      if (times[key] > 1) {
        Add(Severity::warning, key,
            "given " + std::to_string(times[key]) + " times; the last one counts");
      }
      if (reads_.count(key) != 0) {
        continue;
      }
      const auto same =
          std::find_if(TheSettings().begin(), TheSettings().end(),
                       [&](const auto& s) { return ToLowerAscii(s.key) == ToLowerAscii(key); });
      if (same != TheSettings().end()) {
        Add(Severity::warning, key,
            "ignored; did you mean " + std::string(same->key) + "? (keys are matched exactly)");
      } else {
        Add(Severity::warning, key, "not a setting; ignored");
      }
    }
  }

  void WarnAboutValues(const json& document) {
    if (On("OnlyWhitelisted") && Ok("WhitelistedGroups") && Ok("WhitelistedPlayers") &&
        !HasEntry("WhitelistedGroups") && !HasEntry("WhitelistedPlayers")) {
      Add(Severity::warning, "OnlyWhitelisted",
          "on, with WhitelistedGroups and WhitelistedPlayers both empty: every player will be "
          "kicked");
    }
    if (!Ok("KickTimer")) {
      return;
    }
    const int32_t delay = reads_.at("KickTimer").value.get<int32_t>();
    const auto raw = document.find("KickTimer");
    if (raw != document.end() && !ReadsAsItself(*raw, delay)) {
      const bool fraction =
          raw->is_number_float() && std::trunc(raw->get<double>()) != raw->get<double>();
      Add(Severity::warning, "KickTimer",
          ShowValue(*raw).text +
              (fraction ? " is not a whole number; it is truncated to " : " is read as ") +
              std::to_string(delay));
    }
    if (delay <= 0) {
      Add(Severity::warning, "KickTimer",
          std::to_string(delay) + ": kicks do not wait; they happen at the timer's next pass");
    }
  }

  CheckResult& result_;
  std::map<std::string, Read> reads_;
};

}  // namespace

size_t CheckResult::Count(Severity severity) const {
  return static_cast<size_t>(std::ranges::count(findings, severity, &Finding::severity));
}

int CheckResult::ExitStatus() const {
  return Count(Severity::error) != 0 ? 1 : Count(Severity::warning) != 0 ? 3 : 0;
}

CheckResult CheckConfigFile(const std::string& path) {
  CheckResult result;
  result.path = path;
  try {
    gatehouse::ReadConfigFile(path);
  } catch (const json::exception& error) {
    result.findings.push_back({Severity::error, "", error.what(), error.what()});
    return result;
  } catch (const std::exception& error) {
    result.findings.push_back(
        {Severity::error, "", "cannot open " + path + ": " + error.what(), error.what()});
    return result;
  }
  result.parsed = true;
  Checker(result).Run();
  return result;
}

}  // namespace sim::op
