#include "sim/app/EventLoop.h"

#include <algorithm>
#include <csignal>
#include <limits>

#include "sim/framework/SimHost.h"

namespace sim::app {
namespace {

volatile std::sig_atomic_t stop_requested = 0;

// The smaller of two poll timeouts, where -1 means no limit.
int Sooner(int a, int64_t b) {
  if (b < 0) {
    return a;
  }
  const int bounded = static_cast<int>(std::min<int64_t>(b, std::numeric_limits<int>::max()));
  return a < 0 ? bounded : std::min(a, bounded);
}

}  // namespace

void EventLoop::AddSource(PollSource* source) {
  sources_.push_back(source);
}

void EventLoop::RequestStop() {
  stop_requested = 1;
}
bool EventLoop::StopRequested() {
  return stop_requested != 0;
}

int EventLoop::Timeout(int timeout_ms) const {
  int timeout = timeout_ms;
  for (const PollSource* source : sources_) {
    timeout = Sooner(timeout, source->PollTimeoutMs());
  }
  if (GetClockMode() == ClockMode::real_time) {
    if (const auto until_due = MillisecondsUntilNextDue()) {
      timeout = Sooner(timeout, *until_due);
    }
  }
  return timeout;
}

short EventLoop::Pass(SocketHandle input, int timeout_ms) {
  std::vector<PollFd> fds;
  const bool has_input = input != rcon::kInvalidSocket;
  if (has_input) {
    fds.push_back({input, POLLIN, 0});
  }
  for (const PollSource* source : sources_) {
    source->AppendPollFds(fds);
  }
  const int ready = rcon::WaitForReadiness(fds, Timeout(timeout_ms));
  if (ready < 0) {
    // Interrupted by a signal: nothing is ready; the caller looks at the stop
    // request.
    for (auto& fd : fds) {
      fd.revents = 0;
    }
  }
  // A source may add sources while it is serviced.
  const std::vector<PollSource*> sources = sources_;
  for (PollSource* source : sources) {
    source->Service(fds);
  }
  if (GetClockMode() == ClockMode::real_time) {
    RunDueCallables();
  }
  return has_input ? fds.front().revents : 0;
}

void EventLoop::WaitRealTime(int64_t milliseconds) {
  const int64_t deadline = NowMilliseconds() + milliseconds;
  for (;;) {
    const int64_t left = deadline - NowMilliseconds();
    if (left <= 0 || StopRequested()) {
      break;
    }
    Pass(rcon::kInvalidSocket, Sooner(-1, left));
  }
  RunDueCallables();
}

}  // namespace sim::app
