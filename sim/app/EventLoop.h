#pragma once

#include <cstdint>
#include <vector>

#include "sim/rcon/Socket.h"

namespace sim::app {

using rcon::PollFd;
using rcon::SocketHandle;

// Something beyond standard input that the simulator's single thread serves:
// its sockets join the loop's wait, and it is serviced after every wait (the
// RCON server is one).
class PollSource {
 public:
  virtual ~PollSource() = default;
  virtual void AppendPollFds(std::vector<PollFd>& fds) const = 0;
  // How long the loop may wait before the source has work that no descriptor
  // announces; -1 for no limit.
  virtual int PollTimeoutMs() const = 0;
  // After each wait; fds holds every record of the pass, the source's own
  // among them.
  virtual void Service(const std::vector<PollFd>& fds) = 0;
};

// The simulator's one loop: a readiness wait over standard input and the extra
// sources, then the sources' work, then (with the real clock) the timer's pass.
// Every plugin callback therefore runs on this one thread.
class EventLoop {
 public:
  void AddSource(PollSource* source);

  // One pass: waits up to timeout_ms (-1: no limit) for input on input
  // (kInvalidSocket: none) or a source, and no longer than the next due
  // callable with the real clock. Gives input's ready events (0 when none).
  short Pass(SocketHandle input, int timeout_ms);

  // With the real clock: passes, without reading input, until this much time
  // has gone by; callables run as they fall due.
  void WaitRealTime(int64_t milliseconds);

  // Set from a signal handler: the simulator should stop.
  static void RequestStop();
  static bool StopRequested();

 private:
  int Timeout(int timeout_ms) const;

  std::vector<PollSource*> sources_;
};

}  // namespace sim::app
