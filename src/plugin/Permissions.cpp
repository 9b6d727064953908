#include "host/Permissions.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "common/ProcessState.h"
#include "host/Tools.h"
#include "platform/Platform.h"

namespace Permissions {
namespace {

using IsPlayerInGroupFunction = bool(const FString&, const FString&);

// The permissions plugin's own IsPlayerInGroup, by its linker name.
constexpr const char* kIsPlayerInGroupSymbol = "_ZN11Permissions15IsPlayerInGroupERK7FStringS2_";

// The bound library, a part of the plugin's process state: it stays open while
// the plugin is loaded and is let go when that state ends.
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
    gatehouse::Platform::SharedLibrary library =
        gatehouse::Platform::SharedLibrary::Open(path, reason);
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

  gatehouse::Platform::SharedLibrary library_;
  IsPlayerInGroupFunction* function_ = nullptr;
};

Binding& TheBinding() {
  return gatehouse::ProcessState::Get<Binding>();
}

}  // namespace

bool IsPlayerInGroup(const FString& player_id, const FString& group) {
  return TheBinding().Get()(player_id, group);
}

}  // namespace Permissions
