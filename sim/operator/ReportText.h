#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace sim::op {

// Texts that come from a configuration file, made fit for a report that may
// land on a terminal: a file holds values of any depth and size, and strings
// with any control character.

// A value as a report shows it: its compact JSON text, written one element at
// a time (never by recursion, never by copying the value), up to a bound.
struct ShownValue {
  std::string type;  // the JSON type name
  size_t size = 0;   // entries of an array, members of an object, bytes of a string
  // The JSON text. Cut short, it ends in "..." at a whole character.
  std::string text;
  bool shortened = false;  // the bound was met
};

// Values longer than this many bytes of JSON text, or nested deeper than this
// many levels, are shortened.
inline constexpr size_t kShownBytes = 512;
inline constexpr size_t kShownDepth = 16;

ShownValue ShowValue(const nlohmann::json& value);

// The text with every control character (C0, DEL, C1) written as an escape
// (\r, \n, \t, or \u001b and the like) and every byte that is not part of
// valid UTF-8 as \xNN; backslashes are doubled when `double_backslash` is set,
// so that the escapes cannot be mistaken for the text's own.
std::string Printable(std::string_view text, bool double_backslash = false);

}  // namespace sim::op
