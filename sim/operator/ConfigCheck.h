#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/operator/ReportText.h"

namespace sim::op {

enum class Severity { error, warning };

// One thing found in a configuration file. The subject is the setting or key
// it is about, or empty for the file or the document as a whole.
struct Finding {
  Severity severity;
  std::string subject;
  std::string text;
  // For an error: the exception text the plugin meets, whole, as its log
  // record carries it.
  std::string met;
};

// One setting as the plugin would read it. The value is in force (the default
// when absent), or the raw member when unreadable.
struct SettingRow {
  std::string key;
  ShownValue shown;      // the value as a report shows it, bounded
  nlohmann::json value;  // the value itself when it is not shortened; null otherwise
  bool is_default = false;
  bool readable = true;
  bool present = true;  // the member is in the document (which is an object)
};

struct CheckResult {
  std::string path;
  bool parsed = false;  // the file opened and its first value parsed
  std::vector<SettingRow> settings;
  std::vector<Finding> findings;

  size_t Count(Severity severity) const;
  // 0 clean, 1 errors (with or without warnings), 3 warnings only.
  int ExitStatus() const;
};

// Reads the file with the plugin's own read and checks it with the plugin's
// own setting reads and list tests. Errors are the failures that a join meets
// with the configuration as it is; everything else worth knowing (a failure no
// join reaches while other settings stay as they are, keys the plugin ignores,
// surprising values) is a warning.
CheckResult CheckConfigFile(const std::string& path);

}  // namespace sim::op
