#include "sim/app/platform/Process.h"

#include <windows.h>

namespace sim::app::platform {

int64_t ProcessId() {
  return static_cast<int64_t>(GetCurrentProcessId());
}

std::string LimitFileSize(std::optional<int64_t> /*bytes*/) {
  return "this system has no limit on the size of a process's files";
}

std::string Pin(const std::string& /*path*/, bool /*pinned*/) {
  return "this system cannot pin a file against its owner";
}

}  // namespace sim::app::platform
