#include "admission/AtCapacityHook.h"

#include "admission/HookSlots.h"

namespace gatehouse {

bool AtCapacityHook(AGameSession* session, bool first_flag, FString& text, bool second_flag,
                    int* number) {
  CapacityBypass& bypass = Bypass();
  if (bypass.IgnoreCapacity) {
    bypass.IgnoreCapacity = false;
    bypass.IgnoreCapacityAgain = true;
    return false;
  }
  if (bypass.IgnoreCapacityAgain) {
    bypass.IgnoreCapacityAgain = false;
    return false;
  }
  return AtCapacityTrampoline()(session, first_flag, text, second_flag, number);
}

}  // namespace gatehouse
