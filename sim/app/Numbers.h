#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

namespace sim::app {

// A whole number written as plain decimal digits (no sign, no blanks), within
// [0, maximum].
template <class Integer>
std::optional<Integer> ParseCount(std::string_view text, Integer maximum) {
  if (text.empty() || text.front() < '0' || text.front() > '9') {
    return std::nullopt;
  }
  Integer value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value > maximum) {
    return std::nullopt;
  }
  return value;
}

}  // namespace sim::app
