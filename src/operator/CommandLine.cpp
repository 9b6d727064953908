#include "operator/CommandLine.h"

#include <algorithm>

namespace gatehouse {

namespace {

bool IsBlank(char16_t unit) {
  return unit == u' ' || unit == u'\t';
}

}  // namespace

std::u16string Argument(const FString& line) {
  const std::u16string_view text(*line, static_cast<size_t>(line.Len()));
  auto at = std::find_if_not(text.begin(), text.end(), IsBlank);
  at = std::find_if(at, text.end(), IsBlank);  // past the command's name
  at = std::find_if_not(at, text.end(), IsBlank);
  auto end = text.end();
  while (end != at && IsBlank(*(end - 1))) {
    --end;
  }
  return std::u16string(at, end);
}

std::optional<std::string> RefusedId(std::u16string_view id, const char* command) {
  if (id.empty()) {
    return std::string(command) + " needs an ID: " + command + " ID";
  }
  if (std::any_of(id.begin(), id.end(), IsBlank)) {
    return "an ID holds no blanks: " + std::string(command) + " takes one ID";
  }
  if (std::any_of(id.begin(), id.end(),
                  [](char16_t unit) { return unit < 0x20 || unit == 0x7f; })) {
    return std::string("the ID holds a control character; nothing written");
  }
  if (std::any_of(id.begin(), id.end(), [](char16_t unit) { return unit > 0x7f; })) {
    return std::string(
        "the ID is not ASCII: entries reach the server byte by byte, so an entry outside ASCII "
        "never matches a player's Identifier; nothing written");
  }
  return std::nullopt;
}

}  // namespace gatehouse
