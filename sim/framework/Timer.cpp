// The host timer: callables due after a delay in whole seconds, run in due-time
// order, ties in the order they were scheduled. The clock is either virtual
// (moved only by the simulator) or the wall clock.

#include <algorithm>
#include <chrono>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/Timer.h"
#include "sim/framework/Internal.h"
#include "sim/framework/SimHost.h"
#include "sim/framework/platform/Platform.h"

namespace sim {
namespace {

struct DueKey {
  int64_t due_ms = 0;
  uint64_t sequence = 0;
  auto operator<=>(const DueKey&) const = default;
};

constexpr uint64_t kLastSequence = std::numeric_limits<uint64_t>::max();

// The clock's last moment: a callable scheduled then with the longest delay a
// plugin can ask for is still due at a time that fits the clock's count.
constexpr int64_t kLastMomentMs =
    std::numeric_limits<int64_t>::max() - int64_t{std::numeric_limits<int>::max()} * 1000;

struct Pending {
  std::function<void()> callable;
  std::string tag;
  platform::ModuleId scheduled_by = nullptr;  // the library whose code scheduled it
};

// The plugin's way in (DelayExecuteInternal), and the timer's state, which
// the functions below work on.
class SimTimer final : public API::Timer {
 public:
  void DelayExecuteInternal(const std::function<void()>& callback, int delay_seconds,
                            const std::string& tag, const std::string& /*library_path*/) override {
    Trace("schedule " + tag + " in " + std::to_string(delay_seconds) + " s");
    if (!callback) {
      return;
    }
    // The callable's code goes when the library that scheduled it unloads,
    // whatever path it was tagged with: the library is the one whose code made
    // this call (the return address is in the caller's code).
    const platform::ModuleId scheduled_by = platform::ModuleHolding(SIM_CALLER_ADDRESS());
    // A delay of 0 or less is due now, and so runs at the next pass.
    const int64_t delay_ms = delay_seconds > 0 ? int64_t{delay_seconds} * 1000 : 0;
    pending.emplace(DueKey{NowMilliseconds() + delay_ms, next_sequence++},
                    Pending{callback, tag, scheduled_by});
  }

  std::map<DueKey, Pending> pending;
  uint64_t next_sequence = 0;
  ClockMode mode = ClockMode::virtual_time;
  int64_t virtual_ms = 0;
  std::chrono::steady_clock::time_point real_start = std::chrono::steady_clock::now();
};

constexpr auto& TheTimer = NeverDestroyed<SimTimer>;

}  // namespace

void SetClockMode(ClockMode mode) {
  SimTimer& timer = TheTimer();
  timer.mode = mode;
  timer.virtual_ms = 0;
  timer.real_start = std::chrono::steady_clock::now();
}

ClockMode GetClockMode() {
  return TheTimer().mode;
}

int64_t NowMilliseconds() {
  const SimTimer& timer = TheTimer();
  if (timer.mode == ClockMode::virtual_time) {
    return timer.virtual_ms;
  }
  const auto elapsed = std::chrono::steady_clock::now() - timer.real_start;
  return std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
}

int64_t SecondsLeftOnClock() {
  const SimTimer& timer = TheTimer();
  return timer.mode == ClockMode::virtual_time ? (kLastMomentMs - timer.virtual_ms) / 1000 : 0;
}

// Moves the virtual clock through each due time up to the target, with a pass
// at each, so that a callable sees the clock at its own due time and one that
// it schedules for a moment within the wait runs in the same wait. Callables
// scheduled with no delay by a pass run at the next pass: the one at the next
// due time of this wait, or the next wait's first.
void AdvanceSeconds(int64_t seconds) {
  SimTimer& timer = TheTimer();
  if (timer.mode != ClockMode::virtual_time) {
    return;
  }
  const int64_t target =
      timer.virtual_ms + std::clamp<int64_t>(seconds, 0, SecondsLeftOnClock()) * 1000;
  RunDueCallables();
  for (;;) {
    const auto next = timer.pending.upper_bound(DueKey{timer.virtual_ms, kLastSequence});
    if (next == timer.pending.end() || next->first.due_ms > target) {
      break;
    }
    timer.virtual_ms = next->first.due_ms;
    RunDueCallables();
  }
  timer.virtual_ms = target;
}

// Runs what is due by now and was scheduled before the pass began.
void RunDueCallables() {
  SimTimer& timer = TheTimer();
  const int64_t now = NowMilliseconds();
  const uint64_t pass_start = timer.next_sequence;
  std::vector<DueKey> due;
  for (const auto& [key, entry] : timer.pending) {
    if (key.due_ms > now) {
      break;
    }
    if (key.sequence < pass_start) {
      due.push_back(key);
    }
  }
  for (const DueKey& key : due) {
    auto node = timer.pending.extract(key);
    if (node.empty()) {
      continue;  // dropped by an earlier callable of this pass
    }
    RunContained("timer: callable " + node.mapped().tag, node.mapped().callable);
  }
}

std::optional<int64_t> MillisecondsUntilNextDue() {
  const SimTimer& timer = TheTimer();
  if (timer.pending.empty()) {
    return std::nullopt;
  }
  return std::max<int64_t>(timer.pending.begin()->first.due_ms - NowMilliseconds(), 0);
}

size_t PendingCallables() {
  return TheTimer().pending.size();
}

size_t DropCallablesOf(void* library_handle) {
  const platform::ModuleId library = platform::ModuleOfHandle(library_handle);
  return std::erase_if(TheTimer().pending, [&](const auto& entry) {
    return library != nullptr && entry.second.scheduled_by == library;
  });
}

void ClearTimer() {
  TheTimer().pending.clear();
}

}  // namespace sim

API::Timer& API::Timer::Get() {
  return sim::TheTimer();
}
