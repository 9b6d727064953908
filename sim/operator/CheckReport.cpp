#include "sim/operator/CheckReport.h"

#include <algorithm>

#include <nlohmann/json.hpp>

namespace sim::op {
namespace {

const char* Name(Severity severity) {
  return severity == Severity::error ? "error" : "warning";
}

std::string Counted(size_t count, const char* what) {
  return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

std::string Dump(const nlohmann::json& value, int indent = -1) {
  // The parser admits only valid UTF-8; replacing keeps a report from failing.
  return value.dump(indent, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string ValueText(const SettingRow& row) {
  if (!row.present && !row.readable) {
    return "(cannot be read)";
  }
  const std::string value = Dump(row.value);
  if (!row.readable) {
    return value + " (cannot be read)";
  }
  return row.is_default ? "(default) " + value : value;
}

}  // namespace

std::string TextReport(const CheckResult& result) {
  std::string text = "config " + result.path + "\n";
  size_t width = 0;
  for (const SettingRow& row : result.settings) {
    width = std::max(width, row.key.size());
  }
  for (const SettingRow& row : result.settings) {
    text += "  " + row.key + std::string(width - row.key.size() + 2, ' ') + ValueText(row) + "\n";
  }
  for (const Finding& finding : result.findings) {
    text += std::string(Name(finding.severity)) + ": " +
            (finding.subject.empty() ? "" : finding.subject + ": ") + finding.text + "\n";
  }
  const size_t errors = result.Count(Severity::error);
  const size_t warnings = result.Count(Severity::warning);
  text += errors + warnings == 0
              ? std::string("clean\n")
              : Counted(errors, "error") + ", " + Counted(warnings, "warning") + "\n";
  return text;
}

std::string JsonReport(const CheckResult& result) {
  nlohmann::json settings = nlohmann::json::array();
  for (const SettingRow& row : result.settings) {
    settings.push_back({{"key", row.key},
                        {"value", row.value},
                        {"default", row.is_default},
                        {"readable", row.readable},
                        {"present", row.present}});
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
  return Dump(report, 2) + "\n";
}

}  // namespace sim::op
