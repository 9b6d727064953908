#include "admission/HookSlots.h"

PreLoginFunction*& PreLoginTrampoline() {
  static PreLoginFunction* slot = nullptr;
  return slot;
}

PostLoginFunction*& PostLoginTrampoline() {
  static PostLoginFunction* slot = nullptr;
  return slot;
}

AtCapacityFunction*& AtCapacityTrampoline() {
  static AtCapacityFunction* slot = nullptr;
  return slot;
}
