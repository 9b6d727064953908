#include <dlfcn.h>

#include "platform/Platform.h"

namespace gatehouse {

namespace Platform {
namespace {

std::string LastLoaderError() {
  const char* error = dlerror();
  return error != nullptr ? error : "unknown reason";
}

}  // namespace

SharedLibrary SharedLibrary::Open(const std::string& path, std::string& error) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    error = LastLoaderError();
    return {};
  }
  return SharedLibrary(handle);
}

void* SharedLibrary::Symbol(const char* name, std::string& error) const {
  dlerror();
  void* symbol = dlsym(handle_, name);
  if (symbol == nullptr) {
    error = LastLoaderError();
  }
  return symbol;
}

void SharedLibrary::Close() noexcept {
  if (handle_ != nullptr) {
    dlclose(handle_);
    handle_ = nullptr;
  }
}

}  // namespace Platform

}  // namespace gatehouse
