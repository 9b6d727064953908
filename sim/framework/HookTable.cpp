// The hook service. Each hookable game function has a slot through which the
// game calls it. Hooks on one function form a chain: the slot reaches the hook
// installed last, and each hook's call-through slot reaches the one below it,
// down to the game's own function.

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/Hooks.h"
#include "sim/framework/Internal.h"
#include "sim/framework/SimHost.h"

namespace sim {
namespace {

struct InstalledHook {
  void* hook = nullptr;
  void** call_through = nullptr;  // the installer's slot
  void* below = nullptr;          // what that slot was last given
  std::string owner;              // the library that installed it
};

struct HookTarget {
  void* original = nullptr;
  void* slot = nullptr;              // what the game calls
  std::vector<InstalledHook> hooks;  // bottom first
};

// Relinks the chain after a change: each hook's call-through slot gets the
// entry below it and the game's slot gets the top. A call-through slot is only
// written when its value changes, so the slot of a hook whose library is gone
// (and which was just taken out) is never touched.
void Relink(HookTarget& target) {
  void* below = target.original;
  for (auto& hook : target.hooks) {
    if (hook.below != below) {
      hook.below = below;
      *hook.call_through = below;
    }
    below = hook.hook;
  }
  target.slot = below;
}

// The plugin's way in (AsaApi::IHooks), and the targets, which the functions
// below work on.
class HookTable final : public AsaApi::IHooks {
 public:
  bool SetHookInternal(const std::string& target, void* hook, void** original) override {
    Trace("install hook " + target);
    const auto found = targets.find(target);
    if (found == targets.end() || hook == nullptr || original == nullptr || IsRefused(target)) {
      return false;
    }
    HookTarget& entry = *found->second;
    // The new hook's slot reaches whatever the game called until now.
    *original = entry.slot;
    entry.hooks.push_back({hook, original, entry.slot, loading_library});
    Relink(entry);
    return true;
  }

  bool DisableHook(const std::string& target, void* hook) override {
    Trace("remove hook " + target);
    const auto found = targets.find(target);
    if (found == targets.end()) {
      return false;
    }
    auto& hooks = found->second->hooks;
    // The latest installation of this hook goes first.
    const auto at = std::ranges::find(hooks.rbegin(), hooks.rend(), hook, &InstalledHook::hook);
    if (at == hooks.rend()) {
      return false;
    }
    hooks.erase(std::next(at).base());
    Relink(*found->second);
    return true;
  }

  // Node-based, and each target on the heap: the slots' addresses never move.
  std::map<std::string, std::unique_ptr<HookTarget>> targets;
  std::string loading_library;
};

constexpr auto& TheHookTable = NeverDestroyed<HookTable>;

}  // namespace

void* const* RegisterHookable(const std::string& signature, void* original) {
  RegisterGameFunction(signature, original);
  auto& entry = TheHookTable().targets[signature];
  if (!entry) {
    entry = std::make_unique<HookTarget>();
  }
  *entry = HookTarget{original, original, {}};
  return &entry->slot;
}

void UnregisterHookable(const std::string& signature) {
  UnregisterGameFunction(signature);
  TheHookTable().targets.erase(signature);
}

size_t HookCount(const std::string& signature) {
  const auto& targets = TheHookTable().targets;
  const auto found = targets.find(signature);
  return found != targets.end() ? found->second->hooks.size() : 0;
}

void ClearHooks() {
  TheHookTable().targets.clear();
}

void SetHooksOwner(const std::string& library_path) {
  TheHookTable().loading_library = library_path;
}

std::vector<std::string> RemoveLeftoverHooks(const std::string& library_path) {
  std::vector<std::string> removed;
  for (auto& [signature, target] : TheHookTable().targets) {
    const size_t gone = std::erase_if(
        target->hooks, [&](const InstalledHook& h) { return h.owner == library_path; });
    removed.insert(removed.end(), gone, signature);
    Relink(*target);
  }
  return removed;
}

bool HasHooksOf(const std::string& library_path) {
  return std::ranges::any_of(TheHookTable().targets, [&](const auto& entry) {
    return std::ranges::any_of(
        entry.second->hooks, [&](const InstalledHook& hook) { return hook.owner == library_path; });
  });
}

}  // namespace sim

AsaApi::IHooks& AsaApi::GetHooks() {
  return sim::TheHookTable();
}
