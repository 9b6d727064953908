#include <windows.h>

#include <string>

#include "platform/Platform.h"
#include "platform/windows/WideText.h"

namespace gatehouse {

namespace Platform {

std::string OwnLibraryPath() {
  HMODULE self = nullptr;
  if (GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCSTR>(&OwnLibraryPath), &self) == 0) {
    return {};
  }
  // Paths may be longer than MAX_PATH: grow until the name fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(self, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) {
      return {};
    }
    if (length < path.size()) {
      path.resize(length);
      return FromWide(path);
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace Platform

}  // namespace gatehouse
