#include "config/PlayersText.h"

#include <stdexcept>

#include <nlohmann/json.hpp>

#include "config/Settings.h"

namespace gatehouse {

namespace {

// A walk over text whose first JSON value is known to parse: it only finds
// where values begin and end, never what they mean, and never goes deeper
// than a count of brackets.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  char At(size_t at) const {
    if (at >= text_.size()) {
      throw std::runtime_error("config.json ends inside its first value");
    }
    return text_[at];
  }

  size_t SkipSpace(size_t at) const {
    while (at < text_.size() &&
           (text_[at] == ' ' || text_[at] == '\t' || text_[at] == '\n' || text_[at] == '\r')) {
      ++at;
    }
    return at;
  }

  size_t SkipString(size_t at) const {
    for (at = text_.find_first_of("\"\\", at + 1); At(at) == '\\';
         at = text_.find_first_of("\"\\", at + 2)) {
    }
    return at + 1;
  }

  size_t SkipValue(size_t at) const {
    const char first = At(at);
    if (first == '"') {
      return SkipString(at);
    }
    if (first != '[' && first != '{') {
      while (at < text_.size() &&
             std::string_view(",]} \t\n\r").find(text_[at]) == std::string_view::npos) {
        ++at;
      }
      return at;
    }
    size_t depth = 0;
    for (;; at = text_.find_first_of("\"[]{}", at)) {
      const char c = At(at);
      if (c == '"') {
        at = SkipString(at);
        continue;
      }
      if (c == '[' || c == '{') {
        ++depth;
      } else if (--depth == 0) {
        return at + 1;
      }
      ++at;
    }
  }

 private:
  std::string_view text_;
};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

PlayersText::PlayersText(std::string_view bytes) : bytes_(bytes) {
  const Scanner scan(bytes);
  size_t at = scan.SkipSpace(bytes.substr(0, 3) == kByteOrderMark ? 3 : 0);
  if (scan.At(at) != '{') {
    throw std::runtime_error("config.json does not hold a JSON object");
  }
  object_.begin = at;
  at = scan.SkipSpace(at + 1);
  while (scan.At(at) != '}') {
    const size_t key_begin = at;
    at = scan.SkipString(at);
    const std::string key =
        nlohmann::json::parse(bytes.substr(key_begin, at - key_begin)).get<std::string>();
    at = scan.SkipSpace(scan.SkipSpace(at) + 1);  // past the colon
    const Span value{at, scan.SkipValue(at)};
    last_member_ = {key_begin, value.end};
    if (key == Settings::kWhitelistedPlayers) {
      found_ = true;
      value_ = value;
    }
    at = scan.SkipSpace(value.end);
    if (scan.At(at) == ',') {
      at = scan.SkipSpace(at + 1);
    }
  }
  object_.end = at + 1;
  if (!found_ || bytes[value_.begin] == 'n') {
    return;
  }
  if (bytes[value_.begin] != '[') {
    entries_.push_back(value_);
    return;
  }
  array_ = true;
  at = scan.SkipSpace(value_.begin + 1);
  while (scan.At(at) != ']') {
    const Span entry{at, scan.SkipValue(at)};
    entries_.push_back(entry);
    at = scan.SkipSpace(entry.end);
    if (scan.At(at) == ',') {
      at = scan.SkipSpace(at + 1);
    }
  }
}

std::string PlayersText::Replaced(Span span, std::string_view text) const {
  std::string out;
  out.reserve(bytes_.size() + text.size());
  out.append(bytes_.substr(0, span.begin)).append(text).append(bytes_.substr(span.end));
  return out;
}

// The blanks that open the line on which `at` lies.
std::string PlayersText::LineIndent(size_t at) const {
  const size_t line = bytes_.find_last_of('\n', at == 0 ? 0 : at - 1);
  size_t begin = line == std::string_view::npos ? 0 : line + 1;
  size_t end = begin;
  while (end < at && (bytes_[end] == ' ' || bytes_[end] == '\t')) {
    ++end;
  }
  return std::string(bytes_.substr(begin, end - begin));
}

std::string PlayersText::Inserted(std::string_view member) const {
  if (last_member_.end == 0) {
    return Replaced(object_, "{" + std::string(member) + "}");
  }
  // After the last member, as the members before it are laid out.
  const bool lines = Text(object_).find('\n') != std::string_view::npos;
  const std::string separator = lines ? ",\n" + LineIndent(last_member_.begin) : ", ";
  return Replaced({last_member_.end, last_member_.end}, separator + std::string(member));
}

std::string PlayersText::Appended(std::string_view entry) const {
  const std::string alone = "[" + std::string(entry) + "]";
  if (!found_) {
    return Inserted("\"" + std::string(Settings::kWhitelistedPlayers) + "\": " + alone);
  }
  if (entries_.empty()) {
    return Replaced(value_, alone);
  }
  if (!array_) {
    return Replaced(value_, "[" + std::string(Text(value_)) + ", " + std::string(entry) + "]");
  }
  // After the last entry, with the separator that comes before it.
  const size_t n = entries_.size();
  std::string separator;
  if (n >= 2) {
    separator = std::string(
        bytes_.substr(entries_[n - 2].end, entries_[n - 1].begin - entries_[n - 2].end));
  } else if (Text(value_).find('\n') != std::string_view::npos) {
    separator = ",\n" + LineIndent(entries_[0].begin);
  } else {
    separator = ", ";
  }
  return Replaced({entries_[n - 1].end, entries_[n - 1].end}, separator + std::string(entry));
}

std::string PlayersText::Without(const std::vector<size_t>& positions) const {
  std::vector<bool> dropped(entries_.size(), false);
  for (const size_t position : positions) {
    dropped.at(position) = true;
  }
  std::vector<size_t> kept;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (!dropped[i]) {
      kept.push_back(i);
    }
  }
  if (kept.empty()) {
    return Replaced(value_, "[]");
  }
  // Each entry that stays comes with the separator that stood before it; the
  // first keeps what stood before the list's first entry.
  std::string list(bytes_.substr(value_.begin, entries_[0].begin - value_.begin));
  for (size_t k = 0; k < kept.size(); ++k) {
    const size_t i = kept[k];
    if (k > 0) {
      const size_t before = i - 1;
      list.append(bytes_.substr(entries_[before].end, entries_[i].begin - entries_[before].end));
    }
    list.append(Text(entries_[i]));
  }
  list.append(bytes_.substr(entries_.back().end, value_.end - entries_.back().end));
  return Replaced(value_, list);
}

}  // namespace gatehouse
