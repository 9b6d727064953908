#include "tests/scenario/OutputMatch.h"

#include <algorithm>

namespace gatehouse::scenario {
namespace {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); !from.empty() && at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

// Whether `text` holds, at `at`, the shape: each '9' a digit, anything else
// itself.
bool HasShape(std::string_view text, size_t at, std::string_view shape) {
  const std::string_view part = text.substr(std::min(at, text.size()), shape.size());
  return std::equal(shape.begin(), shape.end(), part.begin(), part.end(), [](char want, char c) {
    return want == '9' ? c >= '0' && c <= '9' : want == c;
  });
}

std::string NormalizedLine(std::string line, const std::vector<std::string>& plugin_paths) {
  for (const std::string& path : plugin_paths) {
    ReplaceAll(line, path, "PLUGIN");
  }
  ReplaceAll(line, "\x1b", "^[");
  // The first console stamp, which follows a colour escape such as "^[[36m".
  constexpr std::string_view kStamp = "99/99/99 99:99 ";
  for (size_t escape = line.find("^[["); escape != std::string::npos;
       escape = line.find("^[[", escape + 1)) {
    const size_t code_end = std::min(line.find_first_not_of("0123456789", escape + 3), line.size());
    if (code_end < line.size() && line[code_end] == 'm' && HasShape(line, code_end + 1, kStamp)) {
      line.replace(code_end + 1, kStamp.size(), "MM/DD/YY HH:MM ");
      break;
    }
  }
  // A log record's stamp, at the start of its line.
  if (HasShape(line, 0, "99/99/99 99:99 [")) {
    line.replace(0, kStamp.size(), "MM/DD/YY HH:MM ");
  }
  constexpr std::string_view kTime = "9999-99-99 99:99:99";
  for (size_t at = 0; at + kTime.size() <= line.size(); ++at) {
    if (HasShape(line, at, kTime)) {
      line.replace(at, kTime.size(), "YYYY-MM-DD HH:MM:SS");
    }
  }
  if (!line.empty() && line.back() == '\r') {
    line.pop_back();
  }
  return line;
}

// Whether `c` matches the one pattern element at `at` (not a star); `next` is
// set to the index past that element.
bool MatchesElement(char c, std::string_view pattern, size_t at, size_t& next) {
  next = at + 1;
  if (pattern[at] == '?') {
    return true;
  }
  if (pattern[at] == '\\' && at + 1 < pattern.size()) {
    next = at + 2;
    return c == pattern[at + 1];
  }
  // A set, when it is closed: a ']' first in it is one of its characters.
  const size_t end = pattern[at] == '[' ? pattern.find(']', at + 2) : std::string_view::npos;
  if (end == std::string_view::npos) {
    return c == pattern[at];
  }
  const bool negated = pattern[at + 1] == '!' || pattern[at + 1] == '^';
  bool found = false;
  for (size_t i = at + (negated ? 2 : 1); i < end; ++i) {
    const bool range = i + 2 < end && pattern[i + 1] == '-';
    found = found || (range ? pattern[i] <= c && c <= pattern[i + 2] : pattern[i] == c);
    i += range ? 2 : 0;
  }
  next = end + 1;
  return found != negated;
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
  size_t t = 0;
  size_t p = 0;
  // Past the last star, and the text that star has taken, for backtracking.
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
