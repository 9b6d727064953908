#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace gatehouse {

namespace Platform {

// The system's UTF-16 text as UTF-8, and back; what cannot be converted becomes
// U+FFFD.
inline std::string FromWide(std::wstring_view text) {
  if (text.empty()) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), bytes, nullptr, nullptr);
  return out;
}

inline std::wstring ToWide(std::string_view text) {
  if (text.empty()) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  const int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring out(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, out.data(), units);
  return out;
}

}  // namespace Platform

}  // namespace gatehouse
