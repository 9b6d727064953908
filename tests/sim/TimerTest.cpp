#include <functional>
#include <limits>
#include <stdexcept>
#include <string>

#include "host/Timer.h"
#include "sim/app/PluginLoader.h"
#include "tests/sim/HostFixture.h"

namespace {

class Timer : public HostFixture {
 protected:
  void Schedule(int delay, char letter, const std::string& library = "/plugins/a.so") {
    ScheduleCall([this, letter] { ran += letter; }, delay, library);
  }
  static void ScheduleCall(std::function<void()> call, int delay,
                           const std::string& library = "/plugins/a.so") {
    API::Timer::Get().DelayExecuteInternal(std::move(call), delay, library + "_0", library);
  }

  std::string ran;
};

TEST_F(Timer, RunsInTheWaitThatReachesItsDueTimeWithTiesInSchedulingOrder) {
  Schedule(3, 'a');
  Schedule(1, 'b');
  Schedule(3, 'c');
  Schedule(1, 'd');
  sim::AdvanceSeconds(2);
  EXPECT_EQ(ran, "bd");
  sim::AdvanceSeconds(1);
  EXPECT_EQ(ran, "bdac");
  EXPECT_EQ(sim::PendingCallables(), 0u);
}

TEST_F(Timer, ZeroAndNegativeDelaysRunAtTheNextPassAndOneScheduledByAPassAtTheOneAfter) {
  Schedule(0, 'a');
  Schedule(-5, 'b');
  Schedule(1, 'c');
  ScheduleCall([this] { Schedule(0, 'd'); }, 0);
  EXPECT_EQ(ran, "");
  sim::AdvanceSeconds(0);
  EXPECT_EQ(ran, "ab");
  sim::AdvanceSeconds(0);
  EXPECT_EQ(ran, "abd");
}

TEST_F(Timer, ACallableSeesTheClockAtItsOwnDueTime) {
  ScheduleCall([this] { Schedule(2, 'b'); }, 1);
  sim::AdvanceSeconds(3);
  EXPECT_EQ(ran, "b");
  EXPECT_EQ(sim::NowMilliseconds(), 3000);
}

TEST_F(Timer, AThrowingCallableIsContainedAndTheRestRun) {
  ScheduleCall([] { throw std::runtime_error("boom"); }, 0);
  Schedule(0, 'b');
  sim::AdvanceSeconds(0);
  EXPECT_EQ(ran, "b");
}

// A library's callables are known by the code that scheduled them, not by
// their tags: the test plugin schedules one at load, and this test one tagged
// with the plugin's own path.
TEST_F(Timer, UnloadingALibraryDropsWhatItsCodeScheduledWhateverTheTags) {
  sim::app::PluginLoader plugin(GATEHOUSE_TEST_PLUGIN);
  ASSERT_TRUE(plugin.Load());
  Schedule(1, 'a', plugin.LibraryPath());
  EXPECT_EQ(sim::PendingCallables(), 2u);
  ASSERT_TRUE(plugin.Unload());
  EXPECT_EQ(sim::PendingCallables(), 1u);
  sim::AdvanceSeconds(1);
  EXPECT_EQ(ran, "a");
}

// At the clock's end there is still room for the longest delay, and due times
// keep their order (none is cut short to a common end).
TEST_F(Timer, AHugeWaitCostsNoMoreThanASmallOneAndLeavesRoomForAnyDelay) {
  Schedule(5, 'a');
  sim::AdvanceSeconds(std::numeric_limits<int64_t>::max());
  sim::AdvanceSeconds(std::numeric_limits<int64_t>::max());
  EXPECT_EQ(ran, "a");
  EXPECT_EQ(sim::SecondsLeftOnClock(), 0);
  Schedule(std::numeric_limits<int>::max(), 'b');
  Schedule(1, 'c');
  EXPECT_EQ(sim::MillisecondsUntilNextDue(), 1000);
}

}  // namespace
