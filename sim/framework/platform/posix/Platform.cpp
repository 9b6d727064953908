#include "sim/framework/platform/Platform.h"

#include <dlfcn.h>
#include <link.h>

#include <cstdlib>

namespace sim::platform {

void* AllocateBlock(size_t bytes, size_t alignment) {
  const bool power_of_two = (alignment & (alignment - 1)) == 0;
  if (alignment > alignof(std::max_align_t) && power_of_two) {
    const size_t rounded = (bytes + alignment - 1) / alignment * alignment;
    return std::aligned_alloc(alignment, rounded);
  }
  return std::malloc(bytes);
}

void FreeBlock(void* block) {
  std::free(block);
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

ModuleId ModuleHolding(const void* address) {
  Dl_info info{};
  if (address == nullptr || dladdr(address, &info) == 0) {
    return nullptr;
  }
  return info.dli_fbase;
}

// The handle's link map names the library's dynamic section, which lies in its
// image: the library holding that address is the one the handle stands for.
ModuleId ModuleOfHandle(void* library_handle) {
  link_map* map = nullptr;
  if (library_handle == nullptr || dlinfo(library_handle, RTLD_DI_LINKMAP, &map) != 0 ||
      map == nullptr) {
    return nullptr;
  }
  return ModuleHolding(map->l_ld);
}

}  // namespace sim::platform
