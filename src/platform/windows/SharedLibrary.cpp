#include <windows.h>

#include "platform/Platform.h"
#include "platform/windows/SystemMessage.h"
#include "platform/windows/WideText.h"

namespace gatehouse {

namespace Platform {
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
