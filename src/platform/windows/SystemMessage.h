#pragma once

#include <windows.h>

#include <string>

#include "platform/windows/WideText.h"

namespace gatehouse {

namespace Platform {

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
  if (message.empty()) {
    message = "system error " + std::to_string(code);
  }
  return message;
}

}  // namespace Platform

}  // namespace gatehouse
