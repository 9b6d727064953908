#pragma once

#include <string>

namespace AsaApi {

// The host's hook service. Installing a hook on a game function (named by its
// signature text) makes the game call the hook instead, and fills the
// call-through slot with an entry that reaches the function the game called
// before: the game's own, or a hook installed earlier. Removing the hook ends
// the redirection. Both answer false when the host refuses (an unknown target,
// a hook it will not install); the slot is then left as it was.
class IHooks {
 public:
  virtual ~IHooks() = default;
  virtual bool SetHookInternal(const std::string& target, void* hook, void** original) = 0;
  virtual bool DisableHook(const std::string& target, void* hook) = 0;
};

IHooks& GetHooks();

}  // namespace AsaApi

// Typed forms: the hook and its call-through slot share one function type, so a
// hook cannot be paired with a slot of another signature.
template <class Function>
bool SetHook(const std::string& target, Function* hook, Function** original) {
  return AsaApi::GetHooks().SetHookInternal(target, reinterpret_cast<void*>(hook),
                                            reinterpret_cast<void**>(original));
}

template <class Function>
bool DisableHook(const std::string& target, Function* hook) {
  return AsaApi::GetHooks().DisableHook(target, reinterpret_cast<void*>(hook));
}
