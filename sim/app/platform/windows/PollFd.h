#pragma once

#include <vector>

namespace sim::app {

// This build serves no descriptors (no RCON over TCP, standard input is read
// apart): a pass only waits for the timer.
struct PollFd {
  int fd;
  short events;
  short revents;
};
inline constexpr short POLLIN = 0x0001;

// Sleeps for the timeout (no descriptor is ever ready); 0 ready.
int WaitForFds(std::vector<PollFd>& fds, int timeout_ms);

}  // namespace sim::app
