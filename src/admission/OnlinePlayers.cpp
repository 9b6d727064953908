#include "admission/OnlinePlayers.h"

#include <algorithm>

namespace gatehouse {

namespace {

bool Same(const FWeakObjectPtr& a, const FWeakObjectPtr& b) {
  return a.ObjectIndex == b.ObjectIndex && a.ObjectSerialNumber == b.ObjectSerialNumber;
}

}  // namespace

OnlinePlayers::Entry* OnlinePlayers::Find(const FWeakObjectPtr& controller) {
  const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& entry) {
    return Same(entry.controller, controller);
  });
  return found != entries_.end() ? &*found : nullptr;
}

void OnlinePlayers::ForgetGone() {
  std::erase_if(entries_, [](const Entry& entry) { return entry.controller.Get() == nullptr; });
}

void OnlinePlayers::Track(AShooterPlayerController* controller) {
  // Forgetting the players gone at each login keeps the list as long as the
  // server is full, however long it runs.
  ForgetGone();
  const FWeakObjectPtr weak = FWeakObjectPtr::To(AsObject(controller));
  if (Find(weak) == nullptr) {
    entries_.push_back({weak, 0});
  }
}

void OnlinePlayers::KickScheduled(const FWeakObjectPtr& controller) {
  if (Entry* entry = Find(controller)) {
    ++entry->pending_kicks;
  }
}

void OnlinePlayers::KickRan(const FWeakObjectPtr& controller) {
  if (Entry* entry = Find(controller); entry != nullptr && entry->pending_kicks > 0) {
    --entry->pending_kicks;
  }
}

std::vector<OnlinePlayers::Player> OnlinePlayers::Current() {
  ForgetGone();
  std::vector<Player> players;
  players.reserve(entries_.size());
  for (const Entry& entry : entries_) {
    players.push_back({reinterpret_cast<AShooterPlayerController*>(entry.controller.Get()),
                       entry.pending_kicks > 0});
  }
  return players;
}

}  // namespace gatehouse
