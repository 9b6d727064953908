#pragma once

#include <poll.h>

#include <vector>

namespace sim::app {

using PollFd = pollfd;

// poll(2) over these descriptors; -1 waits without limit.
inline int WaitForFds(std::vector<PollFd>& fds, int timeout_ms) {
  return poll(fds.data(), fds.size(), timeout_ms);
}

}  // namespace sim::app
