#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The host's narrow texts are UTF-8, paths among them. These turn one into a
// file-system path and back without the system's narrow code page, which on
// Windows would lose every character outside it.
inline std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}
