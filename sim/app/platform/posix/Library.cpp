#include "sim/app/platform/Process.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

namespace sim::app::platform {
namespace {

std::string LoaderError() {
  const char* error = dlerror();
  return error != nullptr ? error : "unknown reason";
}

}  // namespace

std::string AsFilePath(const std::string& path) {
  return path.find('/') == std::string::npos ? "./" + path : path;
}

std::string FullLibraryPath(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

void* OpenLibrary(const std::string& path, std::string& error) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    error = LoaderError();
  }
  return handle;
}

bool CloseLibrary(void* handle, std::string& error) {
  if (dlclose(handle) != 0) {
    error = LoaderError();
    return false;
  }
  return true;
}

bool LibraryStillLoaded(const std::string& path) {
  void* still_there = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (still_there == nullptr) {
    return false;
  }
  dlclose(still_there);
  return true;
}

}  // namespace sim::app::platform
