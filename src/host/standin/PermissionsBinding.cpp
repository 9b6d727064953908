// The permissions plugin's IsPlayerInGroup as the stand-in host offers it: the
// host reports the library's file, and the function is bound in it by its
// linker name at the first call. A build against a real host leaves this file
// out and links the permissions plugin's import library, which the system
// loads at the first call in the same way.

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

#include "common/StandInPart.h"
#include "host/Permissions.h"
#include "host/standin/PermissionsLibrary.h"
#include "platform/Platform.h"

// The build derives the linker name from the declaration in host/Permissions.h
// with the compiler in use (cmake/LinkerName.cmake).
#ifndef GATEHOUSE_PERMISSIONS_SYMBOL
#error "GATEHOUSE_PERMISSIONS_SYMBOL: the linker name of Permissions::IsPlayerInGroup"
#endif

namespace Permissions {
namespace {

using IsPlayerInGroupFunction = bool(const FString&, const FString&);

// The bound library, kept in the plugin's state: it stays open while the
// plugin is loaded and is let go when that state ends.
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
    void* symbol = library.Symbol(GATEHOUSE_PERMISSIONS_SYMBOL, reason);
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
  std::shared_ptr<void>& part = gatehouse::PermissionsBindingPart();
  if (!part) {
    part = std::make_shared<Binding>();
  }
  return *static_cast<Binding*>(part.get());
}

}  // namespace

bool IsPlayerInGroup(const FString& player_id, const FString& group) {
  return TheBinding().Get()(player_id, group);
}

}  // namespace Permissions
