#include "sim/operator/CheckReport.h"

#include <algorithm>

#include <nlohmann/json.hpp>

namespace sim::op {
namespace {

const char* Name(Severity severity) {
  return severity == Severity::error ? "error" : "warning";
}

std::string Counted(size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string Counted(size_t count, const char* what) {
  return Counted(count, what, (std::string(what) + "s").c_str());
}

std::string Dump(const nlohmann::json& value, int indent = -1) {
  // The parser admits only valid UTF-8; replacing keeps a report from failing.
  return value.dump(indent, ' ', false, nlohmann::json::error_handler_t::replace);
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

}  // namespace

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
  return Dump(report, 2) + "\n";
}

}  // namespace sim::op
