// Registrations the host refuses, and the reset of every fault.

#include <mutex>
#include <set>
#include <string>

#include "sim/framework/Internal.h"
#include "sim/framework/SimHost.h"

namespace sim {
namespace {

struct Refusals {
  std::mutex mutex;
  std::set<std::string, std::less<>> names;
};

constexpr auto& TheRefusals = NeverDestroyed<Refusals>;

}  // namespace

void RefuseRegistration(const std::string& name) {
  std::lock_guard lock(TheRefusals().mutex);
  TheRefusals().names.insert(name);
}

void AllowRegistration(const std::string& name) {
  std::lock_guard lock(TheRefusals().mutex);
  TheRefusals().names.erase(name);
}

bool IsRefused(std::string_view name) {
  std::lock_guard lock(TheRefusals().mutex);
  return TheRefusals().names.contains(name);
}

void ClearFaults() {
  {
    std::lock_guard lock(TheRefusals().mutex);
    TheRefusals().names.clear();
  }
  FailAllocationsAfter(std::nullopt);
  ShowAllGameFunctions();
}

}  // namespace sim
