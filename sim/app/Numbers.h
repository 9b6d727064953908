#pragma once

#include <charconv>
#include <optional>
#include <string_view>

namespace sim::app {

// A whole number written as plain decimal digits (no sign, no blanks) that
// the type can hold.
template <class Integer>
std::optional<Integer> ParseCount(std::string_view text) {
  Integer value{};
  const char* const end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  const bool digits = !text.empty() && text.front() >= '0' && text.front() <= '9' && stop == end;
  return digits && error == std::errc() ? std::optional(value) : std::nullopt;
}

}  // namespace sim::app
