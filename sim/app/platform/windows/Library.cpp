#include "sim/app/platform/Process.h"

#include <windows.h>

#include "sim/app/platform/windows/WideText.h"

namespace sim::app::platform {

std::string AsFilePath(const std::string& path) {
  return path.find_first_of("/\\") == std::string::npos ? ".\\" + path : path;
}

// The loader names a library it opens by its full path (GetFullPathNameW);
// GetModuleFileNameW gives the plugin that same name.
std::string FullLibraryPath(const std::string& path) {
  const std::wstring wide = ToWide(path);
  const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) {
    return path;
  }
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) {
    return path;
  }
  full.resize(length);
  return FromWide(full);
}

void* OpenLibrary(const std::string& path, std::string& error) {
  HMODULE handle = LoadLibraryW(ToWide(path).c_str());
  if (handle == nullptr) {
    error = SystemMessage(GetLastError());
  }
  return reinterpret_cast<void*>(handle);
}

bool CloseLibrary(void* handle, std::string& error) {
  if (FreeLibrary(static_cast<HMODULE>(handle)) == 0) {
    error = SystemMessage(GetLastError());
    return false;
  }
  return true;
}

bool LibraryStillLoaded(const std::string& path) {
  return GetModuleHandleW(ToWide(FullLibraryPath(path)).c_str()) != nullptr;
}

}  // namespace sim::app::platform
