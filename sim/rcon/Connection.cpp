#include "sim/rcon/Connection.h"

#include <sys/socket.h>
#include <sys/types.h>

#include <cerrno>
#include <utility>

namespace sim::rcon {
namespace {

constexpr size_t kReadChunk = 4096;
constexpr size_t kReadBudget = 64 * 1024;

}  // namespace

Connection::Connection(UniqueFd socket, Clock::time_point accepted_at)
    : socket_(std::move(socket)), accepted_at_(accepted_at) {}

Connection::ReadOutcome Connection::ReadAvailable() {
  size_t taken = 0;
  char chunk[kReadChunk];
  while (taken < kReadBudget) {
    const ssize_t got = ::recv(socket_.Get(), chunk, sizeof chunk, 0);
    if (got > 0) {
      inbound_.append(chunk, static_cast<size_t>(got));
      taken += static_cast<size_t>(got);
      continue;
    }
    if (got == 0) {
      return ReadOutcome::kEndOfStream;
    }
    if (errno == EINTR) {
      continue;
    }
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      return ReadOutcome::kOpen;
    }
    return ReadOutcome::kFailed;
  }
  return ReadOutcome::kOpen;
}

void Connection::Queue(std::string bytes, bool after_pause) {
  if (bytes.empty()) {
    return;
  }
  pending_bytes_ += bytes.size();
  outbound_.push_back(Segment{std::move(bytes), after_pause});
}

bool Connection::HasDueOutput(Clock::time_point now) const {
  if (outbound_.empty()) {
    return false;
  }
  return !held_until_ || *held_until_ <= now;
}

std::optional<Clock::time_point> Connection::HeldUntil() const {
  if (outbound_.empty()) {
    return std::nullopt;
  }
  return held_until_;
}

bool Connection::Flush(Clock::time_point now, Clock::duration pause) {
  while (!outbound_.empty()) {
    Segment& front = outbound_.front();
    if (front.after_pause && written_of_front_ == 0) {
      // The pause starts once everything before this segment is written.
      if (!held_until_) {
        held_until_ = now + pause;
      }
      if (now < *held_until_) {
        return true;
      }
      held_until_.reset();
      front.after_pause = false;
    }
    const char* from = front.bytes.data() + written_of_front_;
    const size_t left = front.bytes.size() - written_of_front_;
    const ssize_t sent = ::send(socket_.Get(), from, left, MSG_NOSIGNAL);
    if (sent < 0) {
      if (errno == EINTR) {
        continue;
      }
      return errno == EAGAIN || errno == EWOULDBLOCK;
    }
    written_of_front_ += static_cast<size_t>(sent);
    pending_bytes_ -= static_cast<size_t>(sent);
    if (written_of_front_ < front.bytes.size()) {
      return true;
    }
    written_of_front_ = 0;
    outbound_.pop_front();
  }
  return true;
}

}  // namespace sim::rcon
