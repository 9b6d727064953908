#include "sim/framework/platform/Platform.h"

#include <malloc.h>
#include <windows.h>

#include <string_view>

#include "sim/framework/SimHost.h"

namespace sim::platform {

// The runtime has no aligned_alloc: every block comes from _aligned_malloc, so
// that one free function fits all of them.
void* AllocateBlock(size_t bytes, size_t alignment) {
  const bool power_of_two = alignment != 0 && (alignment & (alignment - 1)) == 0;
  const size_t at_least = alignof(std::max_align_t);
  return _aligned_malloc(bytes, power_of_two && alignment > at_least ? alignment : at_least);
}

void FreeBlock(void* block) {
  _aligned_free(block);
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
  const std::u16string wide_path = Utf8ToUtf16(path);
  const std::u16string wide_mode = Utf8ToUtf16(mode);
  return _wfopen(reinterpret_cast<const wchar_t*>(wide_path.c_str()),
                 reinterpret_cast<const wchar_t*>(wide_mode.c_str()));
}

ModuleId ModuleHolding(const void* address) {
  HMODULE module = nullptr;
  if (address == nullptr || !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                                    GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                                reinterpret_cast<LPCWSTR>(address), &module)) {
    return nullptr;
  }
  return module;
}

// A module handle is the library's load address already.
ModuleId ModuleOfHandle(void* library_handle) {
  return library_handle;
}

}  // namespace sim::platform
