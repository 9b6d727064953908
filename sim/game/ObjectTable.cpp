#include "sim/game/ObjectTable.h"

namespace sim {

void ObjectTable::Add(UObject* object) {
  if (object == nullptr || index_of_.contains(object)) {
    return;
  }
  int32_t index = 0;
  if (free_slots_.empty()) {
    index = static_cast<int32_t>(slots_.size());
    slots_.emplace_back();
  } else {
    index = free_slots_.back();
    free_slots_.pop_back();
  }
  Slot& slot = slots_[static_cast<size_t>(index)];
  slot.object = object;
  ++slot.serial;
  object->InternalIndex = index;
  index_of_[object] = index;
}

void ObjectTable::Remove(UObject* object) {
  const auto found = index_of_.find(object);
  if (found == index_of_.end()) {
    return;
  }
  slots_[static_cast<size_t>(found->second)].object = nullptr;
  free_slots_.push_back(found->second);
  object->InternalIndex = -1;
  index_of_.erase(found);
}

FWeakObjectPtr ObjectTable::WeakOf(const UObject* object) const {
  FWeakObjectPtr weak;
  if (const auto found = index_of_.find(object); found != index_of_.end()) {
    weak.ObjectIndex = found->second;
    weak.ObjectSerialNumber = slots_[static_cast<size_t>(found->second)].serial;
  }
  return weak;
}

UObject* ObjectTable::Resolve(const FWeakObjectPtr& weak) const {
  if (weak.ObjectIndex < 0 || static_cast<size_t>(weak.ObjectIndex) >= slots_.size()) {
    return nullptr;
  }
  // A freed slot holds null; a slot taken again has a new serial.
  const Slot& slot = slots_[static_cast<size_t>(weak.ObjectIndex)];
  return slot.serial == weak.ObjectSerialNumber ? slot.object : nullptr;
}

}  // namespace sim
