#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include "platform/Platform.h"

namespace gatehouse {

namespace Platform {

std::string OwnLibraryPath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&OwnLibraryPath), &info) == 0 || info.dli_fname == nullptr) {
    return {};
  }
  char resolved[PATH_MAX];
  if (realpath(info.dli_fname, resolved) != nullptr) {
    return resolved;
  }
  return info.dli_fname;
}

}  // namespace Platform

}  // namespace gatehouse
