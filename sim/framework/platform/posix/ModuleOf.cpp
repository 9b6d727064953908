#include <dlfcn.h>
#include <link.h>

#include "sim/framework/ModuleOf.h"

namespace sim {

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

}  // namespace sim
