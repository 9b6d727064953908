#include "sim/app/FaultCommand.h"

#include <cstdint>
#include <limits>

#include "sim/app/Numbers.h"
#include "sim/framework/SimHost.h"

namespace sim::app {
namespace {

constexpr const char* kUsage =
    "fault takes refuse|accept NAME, alloc fail|off|after N, unresolve|resolve SIGNATURE "
    "or permissions missing|present";

bool Alloc(std::string_view mode, const std::vector<std::string_view>& words) {
  if (words.size() == 3 && mode == "fail") {
    FailAllocationsAfter(0);
    return true;
  }
  if (words.size() == 3 && mode == "off") {
    FailAllocationsAfter(std::nullopt);
    return true;
  }
  if (words.size() != 4 || mode != "after") {
    return false;
  }
  const auto granted = ParseCount<int64_t>(words[3], std::numeric_limits<int64_t>::max());
  if (granted) {
    FailAllocationsAfter(*granted);
  }
  return granted.has_value();
}

bool Permissions(std::string_view state, const std::string& permissions_path) {
  if (state == "missing") {
    SetPermissionsLibraryPath({});
    return true;
  }
  if (state == "present") {
    SetPermissionsLibraryPath(permissions_path);
    return true;
  }
  return false;
}

bool Run(const std::vector<std::string_view>& words, const std::string& permissions_path) {
  if (words.size() < 3) {
    return false;
  }
  const std::string_view what = words[1];
  const std::string argument(words[2]);
  if (what == "alloc") {
    return Alloc(argument, words);
  }
  if (words.size() != 3) {
    return false;
  }
  if (what == "refuse") {
    RefuseRegistration(argument);
  } else if (what == "accept") {
    AllowRegistration(argument);
  } else if (what == "unresolve") {
    HideGameFunction(argument);
  } else if (what == "resolve") {
    RestoreGameFunction(argument);
  } else if (what == "permissions") {
    return Permissions(argument, permissions_path);
  } else {
    return false;
  }
  return true;
}

}  // namespace

void RunFaultCommand(const std::vector<std::string_view>& words,
                     const std::string& permissions_path) {
  if (!Run(words, permissions_path)) {
    PrintError(kUsage);
  }
}

}  // namespace sim::app
