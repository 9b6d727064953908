#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "host/WeakObjectPtr.h"
#include "sim/game/EngineObjects.h"

namespace sim {

// The engine's table of live objects. A slot's serial number changes each time
// a new object takes it, so a weak reference (index, serial) to an object that
// is gone never reaches whatever lives in its slot now, and resolving one never
// touches the object itself.
class ObjectTable {
 public:
  void Add(UObject* object);
  void Remove(UObject* object);

  // Looked up by address: a pointer to an object that is gone is not followed.
  FWeakObjectPtr WeakOf(const UObject* object) const;
  UObject* Resolve(const FWeakObjectPtr& weak) const;

 private:
  struct Slot {
    UObject* object = nullptr;
    int32_t serial = 0;
  };

  std::vector<Slot> slots_;
  std::vector<int32_t> free_slots_;
  std::unordered_map<const UObject*, int32_t> index_of_;
};

}  // namespace sim
