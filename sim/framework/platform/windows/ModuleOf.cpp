#include <windows.h>

#include "sim/framework/ModuleOf.h"

namespace sim {

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

}  // namespace sim
