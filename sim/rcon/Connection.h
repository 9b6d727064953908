#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <optional>
#include <string>

#include "sim/rcon/Socket.h"

namespace sim::rcon {

using Clock = std::chrono::steady_clock;

// One client's socket and its byte queues. It knows nothing of the protocol:
// it reads into a buffer the server parses, and writes what the server queued,
// in order, as soon as the socket takes it.
class Connection {
 public:
  Connection(UniqueSocket socket, Clock::time_point accepted_at);

  SocketHandle Socket() const { return socket_.Get(); }
  Clock::time_point AcceptedAt() const { return accepted_at_; }

  enum class ReadOutcome { kOpen, kEndOfStream, kFailed };
  // Reads what the socket holds, up to a bound per call so that one busy client
  // cannot starve the others; the loop comes back for the rest.
  ReadOutcome ReadAvailable();
  std::string& Inbound() { return inbound_; }

  // Queues bytes behind everything queued before. With after_pause, they leave
  // only once everything before them has been written and the pause has passed,
  // so that a client reading one packet per read gets them in a read of their own.
  void Queue(std::string bytes, bool after_pause = false);
  // Writes what is due; false when the socket has failed.
  bool Flush(Clock::time_point now, Clock::duration pause);
  bool HasDueOutput(Clock::time_point now) const;
  size_t PendingBytes() const { return pending_bytes_; }
  // When output held back by a pause falls due, if any is.
  std::optional<Clock::time_point> HeldUntil() const;

 private:
  struct Segment {
    std::string bytes;
    bool after_pause = false;
  };

  UniqueSocket socket_;
  Clock::time_point accepted_at_;
  std::string inbound_;
  std::deque<Segment> outbound_;
  size_t pending_bytes_ = 0;
  size_t written_of_front_ = 0;
  std::optional<Clock::time_point> held_until_;
};

}  // namespace sim::rcon
