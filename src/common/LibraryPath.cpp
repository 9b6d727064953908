#include "common/LibraryPath.h"

#include "platform/Platform.h"

namespace gatehouse {

namespace LibraryPath {
void Resolve() {
  Stored() = Platform::OwnLibraryPath();
}

const std::string& Get() {
  return Stored();
}

}  // namespace LibraryPath

}  // namespace gatehouse
