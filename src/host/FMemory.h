#pragma once

#include <cstdint>
#include <new>

#include "host/GameFunction.h"

// The engine's allocator. Every block handed to or received from the engine
// (an FString's storage above all) lives here.
namespace FMemory {

// An allocator that has no block to give is an error of the call that asked
// for one, never a write through null.
inline void* Malloc(uint64_t size, uint32_t alignment = 0) {
  void* block = GameFunction<void*(uint64_t, uint32_t)>(
      "FMemory.Malloc(unsigned__int64,unsignedint)")(size, alignment);
  if (block == nullptr) {
    throw std::bad_alloc();
  }
  return block;
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
