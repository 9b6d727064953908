#include <limits>
#include <stdexcept>
#include <string>

#include "host/Timer.h"
#include "tests/sim/HostFixture.h"

namespace {

class Timer : public HostFixture {
 protected:
  void Schedule(int delay, char letter, const std::string& library = "/plugins/a.so") {
    API::Timer::Get().DelayExecuteInternal([this, letter] { ran += letter; }, delay, library + "_0",
                                           library);
  }

  std::string ran;
};

TEST_F(Timer, RunsInDueOrderWithTiesInSchedulingOrder) {
  Schedule(3, 'a');
  Schedule(1, 'b');
  Schedule(3, 'c');
  Schedule(1, 'd');
  sim::AdvanceSeconds(3);
  EXPECT_EQ(ran, "bdac");
}

TEST_F(Timer, ACallableRunsInTheWaitThatReachesItsDueTime) {
  Schedule(2, 'a');
  sim::AdvanceSeconds(1);
  EXPECT_EQ(ran, "");
  sim::AdvanceSeconds(1);
  EXPECT_EQ(ran, "a");
  EXPECT_EQ(sim::PendingCallables(), 0u);
}

TEST_F(Timer, ZeroAndNegativeDelaysRunAtTheNextPass) {
  Schedule(0, 'a');
  Schedule(-5, 'b');
  Schedule(1, 'c');
  EXPECT_EQ(ran, "");
  sim::AdvanceSeconds(0);
  EXPECT_EQ(ran, "ab");
}

TEST_F(Timer, ACallableScheduledWithoutDelayByAPassWaitsForTheNextPass) {
  API::Timer::Get().DelayExecuteInternal(
      [this] {
        ran += 'a';
        Schedule(0, 'b');
      },
      0, "t", "/plugins/a.so");
  sim::AdvanceSeconds(0);
  EXPECT_EQ(ran, "a");
  sim::AdvanceSeconds(0);
  EXPECT_EQ(ran, "ab");
}

TEST_F(Timer, ACallableSeesTheClockAtItsOwnDueTime) {
  API::Timer::Get().DelayExecuteInternal([this] { Schedule(2, 'b'); }, 1, "t", "/plugins/a.so");
  sim::AdvanceSeconds(3);
  EXPECT_EQ(ran, "b");
  EXPECT_EQ(sim::NowMilliseconds(), 3000);
}

TEST_F(Timer, AThrowingCallableIsContainedAndTheRestRun) {
  API::Timer::Get().DelayExecuteInternal([] { throw std::runtime_error("boom"); }, 0, "t",
                                         "/plugins/a.so");
  Schedule(0, 'b');
  sim::AdvanceSeconds(0);
  EXPECT_EQ(ran, "b");
}

TEST_F(Timer, DroppingALibrarysCallablesKeepsTheOthers) {
  Schedule(1, 'a', "/plugins/a.so");
  Schedule(1, 'b', "/plugins/b.so");
  EXPECT_EQ(sim::DropCallablesOf("/plugins/a.so"), 1u);
  sim::AdvanceSeconds(1);
  EXPECT_EQ(ran, "b");
}

TEST_F(Timer, AHugeWaitCostsNoMoreThanASmallOne) {
  Schedule(5, 'a');
  sim::AdvanceSeconds(std::numeric_limits<int64_t>::max());
  sim::AdvanceSeconds(std::numeric_limits<int64_t>::max());
  EXPECT_EQ(ran, "a");
}

TEST_F(Timer, TraceNamesTheTagAndDelay) {
  sim::SetTrace(true);
  Schedule(5, 'a');
  EXPECT_EQ(lines, std::vector<std::string>{"host: schedule /plugins/a.so_0 in 5 s"});
}

}  // namespace
