#include "common/LibraryPath.h"

#include "common/ProcessState.h"
#include "platform/Platform.h"

namespace gatehouse {

namespace LibraryPath {
namespace {

struct StoredPath {
  std::string path;
};

std::string& Stored() {
  return ProcessState::Get<StoredPath>().path;
}

}  // namespace

void Resolve() {
  Stored() = Platform::OwnLibraryPath();
}

const std::string& Get() {
  return Stored();
}

}  // namespace LibraryPath

}  // namespace gatehouse
