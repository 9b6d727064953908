// AsaApi::GetAddress: the game's functions by signature text.

#include <map>
#include <mutex>
#include <set>
#include <string>

#include "host/GameFunction.h"
#include "sim/framework/Internal.h"
#include "sim/framework/SimHost.h"

namespace sim {
namespace {

// Hidden functions stay registered; GetAddress alone does not find them.
struct GameFunctionTable {
  // No other thread sees the table before it is made.
  GameFunctionTable() { ClearLocked(); }

  // Everything but the allocator, which strings outliving a reset still need.
  void ClearLocked() {
    functions = {{kMallocSignature, reinterpret_cast<void*>(&EngineMalloc)},
                 {kFreeSignature, reinterpret_cast<void*>(&EngineFree)}};
  }

  std::mutex mutex;
  std::map<std::string, void*, std::less<>> functions;
  std::set<std::string, std::less<>> hidden;
};

// Engine strings in static objects free their blocks through it at any point
// of the process's teardown.
constexpr auto& TheFunctionTable = NeverDestroyed<GameFunctionTable>;

void* Find(const std::string& signature) {
  GameFunctionTable& table = TheFunctionTable();
  std::lock_guard lock(table.mutex);
  const auto found = table.functions.find(signature);
  return found == table.functions.end() || table.hidden.contains(signature) ? nullptr
                                                                            : found->second;
}

}  // namespace

void RegisterGameFunction(const std::string& signature, void* address) {
  std::lock_guard lock(TheFunctionTable().mutex);
  TheFunctionTable().functions[signature] = address;
}

void UnregisterGameFunction(const std::string& signature) {
  std::lock_guard lock(TheFunctionTable().mutex);
  TheFunctionTable().functions.erase(signature);
}

void HideGameFunction(const std::string& signature) {
  std::lock_guard lock(TheFunctionTable().mutex);
  TheFunctionTable().hidden.insert(signature);
}

void RestoreGameFunction(const std::string& signature) {
  std::lock_guard lock(TheFunctionTable().mutex);
  TheFunctionTable().hidden.erase(signature);
}

void ShowAllGameFunctions() {
  std::lock_guard lock(TheFunctionTable().mutex);
  TheFunctionTable().hidden.clear();
}

void ClearGameFunctions() {
  std::lock_guard lock(TheFunctionTable().mutex);
  TheFunctionTable().ClearLocked();
}

}  // namespace sim

void* AsaApi::GetAddress(const std::string& signature) {
  void* address = sim::Find(signature);
  if (address == nullptr) {
    sim::HostLog(sim::LogLevel::warning, "GetAddress: no game function '" + signature + "'");
  }
  return address;
}
