#include <windows.h>

#include "platform/Platform.h"
#include "platform/windows/WideText.h"

namespace gatehouse {

namespace Platform {
namespace {

// The system's own words for an error code, without the line end it adds.
std::string SystemMessage(DWORD code) {
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

}  // namespace

SharedLibrary SharedLibrary::Open(const std::string& path, std::string& error) {
  HMODULE handle = LoadLibraryW(ToWide(path).c_str());
  if (handle == nullptr) {
    error = SystemMessage(GetLastError());
    return {};
  }
  return SharedLibrary(reinterpret_cast<void*>(handle));
}

void* SharedLibrary::Symbol(const char* name, std::string& error) const {
  FARPROC symbol = GetProcAddress(static_cast<HMODULE>(handle_), name);
  if (symbol == nullptr) {
    error = SystemMessage(GetLastError());
    return nullptr;
  }
  return reinterpret_cast<void*>(symbol);
}

void SharedLibrary::Close() noexcept {
  if (handle_ != nullptr) {
    FreeLibrary(static_cast<HMODULE>(handle_));
    handle_ = nullptr;
  }
}

}  // namespace Platform

}  // namespace gatehouse
