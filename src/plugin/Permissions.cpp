#include "host/Permissions.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "host/Tools.h"
#include "platform/Platform.h"

namespace Permissions {
namespace {

using IsPlayerInGroupFunction = bool(const FString&, const FString&);

// The permissions plugin's own IsPlayerInGroup, by its linker name.
constexpr const char* kIsPlayerInGroupSymbol = "_ZN11Permissions15IsPlayerInGroupERK7FStringS2_";

// The bound library. It stays open while the plugin is loaded and is let go
// with the plugin's other process-wide state.
class Binding {
 public:
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
      throw std::runtime_error("permissions library is not available: the server runs without it");
    }
    std::string reason;
    Platform::SharedLibrary library = Platform::SharedLibrary::Open(path, reason);
    if (!library) {
      throw std::runtime_error("cannot open permissions library " + path + ": " + reason);
    }
    void* symbol = library.Symbol(kIsPlayerInGroupSymbol, reason);
    if (symbol == nullptr) {
      throw std::runtime_error("cannot bind Permissions::IsPlayerInGroup in " + path + ": " +
                               reason);
    }
    library_ = std::move(library);
    function_ = reinterpret_cast<IsPlayerInGroupFunction*>(symbol);
  }

  Platform::SharedLibrary library_;
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
