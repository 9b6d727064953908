#include "tests/scenario/OutputMatch.h"

#include <algorithm>
#include <cstdint>
#include <regex>

namespace gatehouse::scenario {
namespace {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  if (from.empty()) {
    return;
  }
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
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

// Whether `c` matches the one pattern element at `at` (not a star); `next` is
// set to the index past that element.
bool MatchesElement(char c, std::string_view pattern, size_t at, size_t& next) {
  if (pattern[at] == '?') {
    next = at + 1;
    return true;
  }
  if (pattern[at] == '\\' && at + 1 < pattern.size()) {
    next = at + 2;
    return c == pattern[at + 1];
  }
  if (pattern[at] == '[') {
    size_t i = at + 1;
    const bool negated = i < pattern.size() && (pattern[i] == '!' || pattern[i] == '^');
    i += negated ? 1 : 0;
    bool found = false;
    // A ']' first in the set is one of its characters.
    for (bool first = true; i < pattern.size() && (first || pattern[i] != ']'); first = false) {
      if (i + 2 < pattern.size() && pattern[i + 1] == '-' && pattern[i + 2] != ']') {
        found = found || (pattern[i] <= c && c <= pattern[i + 2]);
        i += 3;
      } else {
        found = found || pattern[i] == c;
        ++i;
      }
    }
    if (i < pattern.size()) {
      next = i + 1;
      return found != negated;
    }
    // No closing bracket: the '[' is a character of its own.
  }
  next = at + 1;
  return c == pattern[at];
}

}  // namespace

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return lines;
}

std::string Normalized(std::string_view text, const std::vector<std::string>& plugin_paths) {
  std::string normalized;
  for (size_t start = 0; start < text.size();) {
    const size_t end = std::min(text.find('\n', start), text.size());
    normalized += NormalizedLine(std::string(text.substr(start, end - start)), plugin_paths);
    if (end < text.size()) {
      normalized += '\n';
    }
    start = end + 1;
  }
  return normalized;
}

bool MatchesPattern(std::string_view text, std::string_view pattern) {
  size_t t = 0;
  size_t p = 0;
  // Where the last star was, and the text it has taken up to, for backtracking.
  size_t after_star = std::string_view::npos;
  size_t star_text = 0;
  while (t < text.size()) {
    size_t next = 0;
    if (p < pattern.size() && pattern[p] == '*') {
      after_star = ++p;
      star_text = t;
    } else if (p < pattern.size() && MatchesElement(text[t], pattern, p, next)) {
      ++t;
      p = next;
    } else if (after_star != std::string_view::npos) {
      p = after_star;
      t = ++star_text;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') {
    ++p;
  }
  return p == pattern.size();
}

std::string UnifiedDiff(std::string_view expected, std::string_view actual) {
  if (expected == actual) {
    return {};
  }
  const std::vector<std::string_view> a = Lines(expected);
  const std::vector<std::string_view> b = Lines(actual);
  std::string diff = "--- expected\n+++ actual\n";
  const size_t n = a.size();
  const size_t m = b.size();
  if ((n + 1) * (m + 1) > (size_t{1} << 24)) {
    const auto [ea, eb] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return diff + "(too long to compare line by line) the first difference is at line " +
           std::to_string(ea - a.begin() + 1) + "\n";
  }
  // common[i][j]: the length of the longest common run of a[i..] and b[j..].
  std::vector<std::vector<uint32_t>> common(n + 1, std::vector<uint32_t>(m + 1, 0));
  for (size_t i = n; i-- > 0;) {
    for (size_t j = m; j-- > 0;) {
      common[i][j] =
          a[i] == b[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
    }
  }
  struct Edit {
    char kind;  // ' ' in both, '-' expected only, '+' actual only
    size_t i;
    size_t j;
  };
  std::vector<Edit> edits;
  for (size_t i = 0, j = 0; i < n || j < m;) {
    if (i < n && j < m && a[i] == b[j]) {
      edits.push_back({' ', i++, j++});
    } else if (i < n && (j == m || common[i + 1][j] >= common[i][j + 1])) {
      edits.push_back({'-', i++, j});
    } else {
      edits.push_back({'+', i, j++});
    }
  }
  constexpr size_t kContext = 3;
  std::vector<bool> shown(edits.size(), false);
  for (size_t k = 0; k < edits.size(); ++k) {
    if (edits[k].kind != ' ') {
      const size_t from = k >= kContext ? k - kContext : 0;
      const size_t to = std::min(edits.size(), k + kContext + 1);
      std::fill(shown.begin() + static_cast<ptrdiff_t>(from),
                shown.begin() + static_cast<ptrdiff_t>(to), true);
    }
  }
  bool any = false;
  for (size_t k = 0; k < edits.size();) {
    if (!shown[k]) {
      ++k;
      continue;
    }
    size_t end = k;
    size_t in_a = 0;
    size_t in_b = 0;
    std::string body;
    for (; end < edits.size() && shown[end]; ++end) {
      const Edit& edit = edits[end];
      in_a += edit.kind != '+' ? 1 : 0;
      in_b += edit.kind != '-' ? 1 : 0;
      body += edit.kind;
      body += edit.kind == '+' ? b[edit.j] : a[edit.i];
      body += '\n';
    }
    const auto start = [](size_t index, size_t count) {
      return std::to_string(count == 0 ? index : index + 1) + "," + std::to_string(count);
    };
    diff += "@@ -" + start(edits[k].i, in_a) + " +" + start(edits[k].j, in_b) + " @@\n" + body;
    any = true;
    k = end;
  }
  if (!any) {
    diff += "(the texts differ only in the end of their last line)\n";
  }
  return diff;
}

}  // namespace gatehouse::scenario
