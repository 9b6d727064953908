#pragma once

#include <cstdint>

#include "host/GameFunction.h"

// The engine's allocator. Every block handed to or received from the engine
// (an FString's storage above all) lives here.
namespace FMemory {

inline void* Malloc(uint64_t size, uint32_t alignment = 0) {
  return GameFunction<void*(uint64_t, uint32_t)>("FMemory.Malloc(unsigned__int64,unsignedint)")(
      size, alignment);
}

// Never throws: it runs in destructors. A host without its allocator leaks the
// block rather than bring the server down.
inline void Free(void* block) noexcept {
  if (block == nullptr) {
    return;
  }
  void* address = AsaApi::GetAddress("FMemory.Free(void*)");
  if (address != nullptr) {
    reinterpret_cast<void (*)(void*)>(address)(block);
  }
}

}  // namespace FMemory
