#include "common/LibraryPath.h"

#include "platform/Platform.h"

namespace LibraryPath {
namespace {

std::string& Stored() {
  static std::string path;
  return path;
}

}  // namespace

void Resolve() {
  Stored() = Platform::OwnLibraryPath();
}

const std::string& Get() {
  return Stored();
}

}  // namespace LibraryPath
