#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "sim/framework/SimHost.h"

namespace sim::app::platform {

// Windows' UTF-16 text and the simulator's UTF-8, through the host's one
// conversion each way (wchar_t is 16 bits here).
inline std::wstring ToWide(std::string_view text) {
  const std::u16string units = Utf8ToUtf16(text);
  return std::wstring(units.begin(), units.end());
}

inline std::string FromWide(std::wstring_view text) {
  return Utf16ToUtf8(std::u16string(text.begin(), text.end()));
}

// The system's own words for an error code, without the line end it adds.
inline std::string SystemMessage(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = length != 0 ? FromWide(std::wstring_view(text, length)) : std::string();
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == ' ' || message.back() == '.')) {
    message.pop_back();
  }
  return message.empty() ? "system error " + std::to_string(code) : message;
}

}  // namespace sim::app::platform
