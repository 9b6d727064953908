#include "host/Permissions.h"

#include <dlfcn.h>

#include <stdexcept>
#include <string>

#include "host/Tools.h"

namespace Permissions {
namespace {

using IsPlayerInGroupFunction = bool(const FString&, const FString&);

// The permissions plugin's own IsPlayerInGroup, by its linker name.
constexpr const char* kIsPlayerInGroupSymbol = "_ZN11Permissions15IsPlayerInGroupERK7FStringS2_";

std::string LastLoaderError() {
  const char* error = dlerror();
  return error != nullptr ? error : "unknown reason";
}

// The bound library. It stays open while the plugin is loaded and is let go
// with the plugin's other process-wide state.
class Binding {
 public:
  ~Binding() {
    if (handle_ != nullptr) {
      dlclose(handle_);
    }
  }

  IsPlayerInGroupFunction* Get() {
    if (function_ == nullptr) {
      Bind();
    }
    return function_;
  }

 private:
  void Bind() {
    const std::string path = AsaApi::Tools::GetPermissionsLibraryPath();
    if (path.empty()) {
      throw std::runtime_error(
          "permissions library is not available: the server runs without it");
    }
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      throw std::runtime_error("cannot open permissions library " + path + ": " +
                               LastLoaderError());
    }
    void* symbol = dlsym(handle, kIsPlayerInGroupSymbol);
    if (symbol == nullptr) {
      const std::string reason = LastLoaderError();
      dlclose(handle);
      throw std::runtime_error("cannot bind Permissions::IsPlayerInGroup in " + path + ": " +
                               reason);
    }
    handle_ = handle;
    function_ = reinterpret_cast<IsPlayerInGroupFunction*>(symbol);
  }

  void* handle_ = nullptr;
  IsPlayerInGroupFunction* function_ = nullptr;
};

Binding& TheBinding() {
  static Binding binding;
  return binding;
}

}  // namespace

bool IsPlayerInGroup(const FString& player_id, const FString& group) {
  return TheBinding().Get()(player_id, group);
}

}  // namespace Permissions
