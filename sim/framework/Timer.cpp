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
    pending_.emplace(DueKey{Now() + delay_ms, next_sequence_++},
                     Pending{callback, tag, scheduled_by});
  }

  void SetMode(ClockMode mode) {
    mode_ = mode;
    virtual_ms_ = 0;
    real_start_ = std::chrono::steady_clock::now();
  }

  ClockMode Mode() const { return mode_; }

  int64_t Now() const {
    if (mode_ == ClockMode::virtual_time) {
      return virtual_ms_;
    }
    const auto elapsed = std::chrono::steady_clock::now() - real_start_;
    return std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
  }

  // Moves the virtual clock through each due time up to the target, with a
  // pass at each, so that a callable sees the clock at its own due time and
  // one that it schedules for a moment within the wait runs in the same wait.
  // Callables scheduled with no delay by a pass run at the next pass: the one
  // at the next due time of this wait, or the next wait's first.
  void Advance(int64_t seconds) {
    if (mode_ != ClockMode::virtual_time) {
      return;
    }
    const int64_t target = virtual_ms_ + std::clamp<int64_t>(seconds, 0, SecondsLeft()) * 1000;
    RunPass();
    for (;;) {
      const auto next = pending_.upper_bound(DueKey{virtual_ms_, kLastSequence});
      if (next == pending_.end() || next->first.due_ms > target) {
        break;
      }
      virtual_ms_ = next->first.due_ms;
      RunPass();
    }
    virtual_ms_ = target;
  }

  int64_t SecondsLeft() const {
    return mode_ == ClockMode::virtual_time ? (kLastMomentMs - virtual_ms_) / 1000 : 0;
  }

  // Runs what is due by now and was scheduled before the pass began.
  void RunPass() {
    const int64_t now = Now();
    const uint64_t pass_start = next_sequence_;
    std::vector<DueKey> due;
    for (const auto& [key, entry] : pending_) {
      if (key.due_ms > now) {
        break;
      }
      if (key.sequence < pass_start) {
        due.push_back(key);
      }
    }
    for (const DueKey& key : due) {
      auto node = pending_.extract(key);
      if (node.empty()) {
        continue;  // dropped by an earlier callable of this pass
      }
      RunContained("timer: callable " + node.mapped().tag, node.mapped().callable);
    }
  }

  std::optional<int64_t> UntilNextDue() const {
    if (pending_.empty()) {
      return std::nullopt;
    }
    return std::max<int64_t>(pending_.begin()->first.due_ms - Now(), 0);
  }

  size_t Count() const { return pending_.size(); }

  size_t DropOf(platform::ModuleId library) {
    return std::erase_if(pending_, [&](const auto& entry) {
      return library != nullptr && entry.second.scheduled_by == library;
    });
  }

  void Clear() { pending_.clear(); }

 private:
  std::map<DueKey, Pending> pending_;
  uint64_t next_sequence_ = 0;
  ClockMode mode_ = ClockMode::virtual_time;
  int64_t virtual_ms_ = 0;
  std::chrono::steady_clock::time_point real_start_ = std::chrono::steady_clock::now();
};

SimTimer& TheTimer() {
  static auto* timer = new SimTimer();
  return *timer;
}

}  // namespace

void SetClockMode(ClockMode mode) {
  TheTimer().SetMode(mode);
}
ClockMode GetClockMode() {
  return TheTimer().Mode();
}
int64_t NowMilliseconds() {
  return TheTimer().Now();
}
int64_t SecondsLeftOnClock() {
  return TheTimer().SecondsLeft();
}
void AdvanceSeconds(int64_t seconds) {
  TheTimer().Advance(seconds);
}
void RunDueCallables() {
  TheTimer().RunPass();
}
std::optional<int64_t> MillisecondsUntilNextDue() {
  return TheTimer().UntilNextDue();
}
size_t PendingCallables() {
  return TheTimer().Count();
}
size_t DropCallablesOf(void* library_handle) {
  return TheTimer().DropOf(platform::ModuleOfHandle(library_handle));
}
void ClearTimer() {
  TheTimer().Clear();
}

}  // namespace sim

API::Timer& API::Timer::Get() {
  return sim::TheTimer();
}
