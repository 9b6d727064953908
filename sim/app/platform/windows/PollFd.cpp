#include <windows.h>

#include "PollFd.h"

namespace sim::app {

int WaitForFds(std::vector<PollFd>& fds, int timeout_ms) {
  for (auto& fd : fds) {
    fd.revents = 0;
  }
  Sleep(timeout_ms < 0 ? INFINITE : static_cast<DWORD>(timeout_ms));
  return 0;
}

}  // namespace sim::app
