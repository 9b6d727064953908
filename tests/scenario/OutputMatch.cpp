#include "tests/scenario/OutputMatch.h"

#include <algorithm>
#include <regex>

namespace gatehouse::scenario {
namespace {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); !from.empty() && at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

std::string NormalizedLine(std::string line, const std::vector<std::string>& plugin_paths) {
  static const std::regex console_stamp(
      R"(\^\[\[([0-9]*)m[0-9]{2}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2} )");
  static const std::regex log_stamp(R"(^[0-9]{2}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2} \[)");
  static const std::regex status_time(R"([0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2})");
  for (const std::string& path : plugin_paths) {
    ReplaceAll(line, path, "PLUGIN");
  }
  ReplaceAll(line, "\x1b", "^[");
  line = std::regex_replace(line, console_stamp, "^[[$1mMM/DD/YY HH:MM ",
                            std::regex_constants::format_first_only);
  line = std::regex_replace(line, log_stamp, "MM/DD/YY HH:MM [");
  line = std::regex_replace(line, status_time, "YYYY-MM-DD HH:MM:SS");
  if (!line.empty() && line.back() == '\r') {
    line.pop_back();
  }
  return line;
}

// The shell pattern as a regular expression: a set keeps its brackets (a
// leading ! negates it), * and ? become .* and ., anything else stands as it
// is.
std::regex PatternExpression(std::string_view pattern) {
  std::string expression;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const size_t set_end = pattern[i] == '[' ? pattern.find(']', i + 2) : std::string_view::npos;
    if (set_end != std::string_view::npos) {
      std::string set(pattern.substr(i + 1, set_end - i - 1));
      // A ']' first in the set is one of its characters.
      set = set[0] == '!' ? "^" + set.substr(1) : set[0] == ']' ? "\\" + set : set;
      expression += "[" + set + "]";
      i = set_end;
    } else if (pattern[i] == '*' || pattern[i] == '?') {
      expression += pattern[i] == '*' ? ".*" : ".";
    } else {
      i += pattern[i] == '\\' && i + 1 < pattern.size() ? 1 : 0;
      if (std::string_view("^$\\.*+?()[]{}|/").find(pattern[i]) != std::string_view::npos) {
        expression += '\\';
      }
      expression += pattern[i];
    }
  }
  return std::regex(expression);
}

}  // namespace

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    lines.push_back(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return lines;
}

std::string Normalized(std::string_view text, const std::vector<std::string>& plugin_paths) {
  std::string normalized;
  for (const std::string_view line : Lines(text)) {
    normalized += NormalizedLine(std::string(line), plugin_paths) + "\n";
  }
  if (!text.empty() && text.back() != '\n') {
    normalized.pop_back();
  }
  return normalized;
}

bool MatchesPattern(std::string_view text, std::string_view pattern) {
  return std::regex_match(text.begin(), text.end(), PatternExpression(pattern));
}

std::string UnifiedDiff(std::string_view expected, std::string_view actual) {
  if (expected == actual) {
    return {};
  }
  const std::vector<std::string_view> a = Lines(expected);
  const std::vector<std::string_view> b = Lines(actual);
  std::string diff = "--- expected\n+++ actual\n";
  // The lines both begin and end with are left out but for three of context
  // around the rest, which is shown as taken out of one and put in the other.
  const size_t head = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
  if (head == a.size() && head == b.size()) {
    return diff + "(the texts differ only in the end of their last line)\n";
  }
  size_t tail = 0;
  while (tail < a.size() - head && tail < b.size() - head &&
         a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) {
    ++tail;
  }
  constexpr size_t kContext = 3;
  const size_t from = head - std::min(head, kContext);
  const size_t after = std::min(tail, kContext);
  const auto range = [&](size_t count) {
    return std::to_string(count == 0 ? from : from + 1) + "," + std::to_string(count);
  };
  diff += "@@ -" + range(a.size() - tail + after - from) + " +" +
          range(b.size() - tail + after - from) + " @@\n";
  const auto add = [&](char mark, const std::vector<std::string_view>& lines, size_t begin,
                       size_t end) {
    for (size_t i = begin; i < end; ++i) {
      diff.append(1, mark).append(lines[i]).append("\n");
    }
  };
  add(' ', a, from, head);
  add('-', a, head, a.size() - tail);
  add('+', b, head, b.size() - tail);
  add(' ', a, a.size() - tail, a.size() - tail + after);
  return diff;
}

}  // namespace gatehouse::scenario
