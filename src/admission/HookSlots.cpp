#include "admission/HookSlots.h"

#include "common/ProcessState.h"

namespace gatehouse {
namespace {

struct Slots {
  PreLoginFunction* pre_login = nullptr;
  PostLoginFunction* post_login = nullptr;
  AtCapacityFunction* at_capacity = nullptr;
};

Slots& TheSlots() {
  return ProcessState::Get<Slots>();
}

}  // namespace

PreLoginFunction*& PreLoginTrampoline() {
  return TheSlots().pre_login;
}

PostLoginFunction*& PostLoginTrampoline() {
  return TheSlots().post_login;
}

AtCapacityFunction*& AtCapacityTrampoline() {
  return TheSlots().at_capacity;
}

}  // namespace gatehouse
