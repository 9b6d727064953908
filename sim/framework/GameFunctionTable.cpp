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

class GameFunctionTable {
 public:
  // No other thread sees the table before it is made.
  GameFunctionTable() { RegisterAllocatorLocked(); }

  void Register(const std::string& signature, void* address) {
    std::lock_guard lock(mutex_);
    functions_[signature] = address;
  }

  void Unregister(const std::string& signature) {
    std::lock_guard lock(mutex_);
    functions_.erase(signature);
  }

  void* Find(const std::string& signature) const {
    std::lock_guard lock(mutex_);
    if (hidden_.contains(signature)) {
      return nullptr;
    }
    const auto found = functions_.find(signature);
    return found != functions_.end() ? found->second : nullptr;
  }

  void Hide(const std::string& signature, bool hidden) {
    std::lock_guard lock(mutex_);
    if (hidden) {
      hidden_.insert(signature);
    } else {
      hidden_.erase(signature);
    }
  }

  void ShowAll() {
    std::lock_guard lock(mutex_);
    hidden_.clear();
  }

  // Everything but the allocator, which strings outliving a reset still need.
  void Clear() {
    std::lock_guard lock(mutex_);
    functions_.clear();
    RegisterAllocatorLocked();
  }

 private:
  void RegisterAllocatorLocked() {
    functions_[kMallocSignature] = reinterpret_cast<void*>(&EngineMalloc);
    functions_[kFreeSignature] = reinterpret_cast<void*>(&EngineFree);
  }

  mutable std::mutex mutex_;
  std::map<std::string, void*, std::less<>> functions_;
  std::set<std::string, std::less<>> hidden_;
};

GameFunctionTable& TheFunctionTable() {
  // Never destroyed: engine strings in static objects free their blocks through
  // it at any point of the process's teardown.
  static auto* table = new GameFunctionTable();
  return *table;
}

}  // namespace

void RegisterGameFunction(const std::string& signature, void* address) {
  TheFunctionTable().Register(signature, address);
}

void UnregisterGameFunction(const std::string& signature) {
  TheFunctionTable().Unregister(signature);
}

void HideGameFunction(const std::string& signature) {
  TheFunctionTable().Hide(signature, true);
}

void RestoreGameFunction(const std::string& signature) {
  TheFunctionTable().Hide(signature, false);
}

void ShowAllGameFunctions() {
  TheFunctionTable().ShowAll();
}

void ClearGameFunctions() {
  TheFunctionTable().Clear();
}

}  // namespace sim

void* AsaApi::GetAddress(const std::string& signature) {
  void* address = sim::TheFunctionTable().Find(signature);
  if (address == nullptr) {
    sim::HostLog(sim::LogLevel::warning, "GetAddress: no game function '" + signature + "'");
  }
  return address;
}
