#include "sim/operator/CheckCommand.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include <nlohmann/json.hpp>

#include "config/ReadConfig.h"
#include "sim/framework/SimHost.h"
#include "sim/operator/ConfigCheck.h"

namespace sim::op {

const char* const kCheckUsage = "usage: gatehouse-sim check [--json] (--dir DIR | FILE)";

namespace {

const char* Name(Severity severity) {
  return severity == Severity::error ? "error" : "warning";
}

std::string Counted(size_t count, const std::string& one, const std::string& many = {}) {
  return std::to_string(count) + " " + (count == 1 ? one : many.empty() ? one + "s" : many);
}

// A shortened value: what it is, and how large.
std::string Summary(const ShownValue& shown) {
  if (shown.type == "array") {
    return "array of " + Counted(shown.size, "entry", "entries");
  }
  if (shown.type == "object") {
    return "object of " + Counted(shown.size, "member");
  }
  if (shown.type == "string") {
    return "string of " + Counted(shown.size, "byte");
  }
  return shown.type;
}

std::string ValueText(const SettingRow& row) {
  if (!row.present && !row.readable) {
    return "(cannot be read)";
  }
  const std::string value = row.shown.shortened
                                ? row.shown.text + " (" + Summary(row.shown) + ", shortened)"
                                : row.shown.text;
  if (!row.readable) {
    return value + " (cannot be read)";
  }
  return row.is_default ? "(default) " + value : value;
}

// The findings for a reader: the file, a table of the eleven settings (the
// value in force, or "(default)" and the default), then one line per finding
// ("error: ..." or "warning: ..."), then the counts.
std::string TextReport(const CheckResult& result) {
  // Keys and values come from the file: escaped, none of them can move the
  // cursor or rewrite what a terminal shows.
  std::string text = "config " + Printable(result.path) + "\n";
  size_t width = 0;
  for (const SettingRow& row : result.settings) {
    width = std::max(width, row.key.size());
  }
  for (const SettingRow& row : result.settings) {
    text += "  " + row.key + std::string(width - row.key.size() + 2, ' ') + ValueText(row) + "\n";
  }
  for (const Finding& finding : result.findings) {
    text += std::string(Name(finding.severity)) + ": " +
            (finding.subject.empty() ? "" : Printable(finding.subject, true) + ": ") +
            Printable(finding.text) + "\n";
  }
  const size_t errors = result.Count(Severity::error);
  const size_t warnings = result.Count(Severity::warning);
  text += errors + warnings == 0
              ? std::string("clean\n")
              : Counted(errors, "error") + ", " + Counted(warnings, "warning") + "\n";
  return text;
}

// The same as one JSON document, for scripts.
std::string JsonReport(const CheckResult& result) {
  nlohmann::json settings = nlohmann::json::array();
  for (const SettingRow& row : result.settings) {
    nlohmann::json one{{"key", row.key},
                       {"default", row.is_default},
                       {"readable", row.readable},
                       {"present", row.present}};
    if (row.shown.shortened) {
      one["shortened"] = {
          {"type", row.shown.type}, {"size", row.shown.size}, {"text", row.shown.text}};
    } else {
      one["value"] = row.value;
    }
    settings.push_back(std::move(one));
  }
  nlohmann::json findings = nlohmann::json::array();
  for (const Finding& finding : result.findings) {
    nlohmann::json one{
        {"severity", Name(finding.severity)}, {"subject", finding.subject}, {"text", finding.text}};
    if (!finding.met.empty()) {
      one["error"] = finding.met;
    }
    findings.push_back(std::move(one));
  }
  const nlohmann::json report{{"file", result.path},
                              {"parsed", result.parsed},
                              {"status", result.ExitStatus()},
                              {"errors", result.Count(Severity::error)},
                              {"warnings", result.Count(Severity::warning)},
                              {"settings", settings},
                              {"findings", findings}};
  // The parser admits only valid UTF-8; replacing keeps a report from failing.
  return report.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

constexpr int kBadCommandLine = 2;

struct CheckOptions {
  bool json = false;
  std::string dir;
  std::string file;
};

int Bad(const std::string& why) {
  std::fprintf(stderr, "gatehouse-sim check: %s\n%s\n", why.c_str(), kCheckUsage);
  return kBadCommandLine;
}

// Reads the command line into `options`. Gives the exit status when the run
// ends here (help, or a command line it refuses), nothing when it goes on.
std::optional<int> ParseArguments(const std::vector<std::string>& arguments,
                                  CheckOptions& options) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      std::printf("%s\n", kCheckUsage);
      return 0;
    }
    if (argument == "--json") {
      options.json = true;
    } else if (argument == "--dir") {
      if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
        return Bad("--dir needs a folder");
      }
      if (!options.dir.empty()) {
        return Bad("--dir is given twice");
      }
      options.dir = arguments[++i];
    } else if (argument.size() > 1 && argument[0] == '-') {
      return Bad("unknown option '" + argument + "'");
    } else if (!options.file.empty()) {
      return Bad("one file only, not also '" + argument + "'");
    } else if (argument.empty()) {
      return Bad("the file name is empty");
    } else {
      options.file = argument;
    }
  }
  if (options.dir.empty() == options.file.empty()) {
    return Bad("give either --dir DIR or FILE");
  }
  return std::nullopt;
}

}  // namespace

int RunCheck(const std::vector<std::string>& arguments) {
  CheckOptions options;
  if (const std::optional<int> status = ParseArguments(arguments, options)) {
    return *status;
  }
  std::string path = options.file;
  if (!options.dir.empty()) {
    // The plugin's own path under the server folder.
    SetCurrentDir(options.dir);
    path = gatehouse::ConfigPath();
  }
  const CheckResult result = CheckConfigFile(path);
  const std::string report = options.json ? JsonReport(result) : TextReport(result);
  std::fwrite(report.data(), 1, report.size(), stdout);
  std::fflush(stdout);
  return result.ExitStatus();
}

}  // namespace sim::op
