#include "sim/rcon/Connection.h"

#include <utility>

namespace sim::rcon {
namespace {

constexpr size_t kReadChunk = 4096;
constexpr size_t kReadBudget = 64 * 1024;

}  // namespace

Connection::Connection(UniqueSocket socket, Clock::time_point accepted_at)
    : socket_(std::move(socket)), accepted_at_(accepted_at) {}

Connection::ReadOutcome Connection::ReadAvailable() {
  size_t taken = 0;
  char chunk[kReadChunk];
  while (taken < kReadBudget) {
    const Transfer got = ReceiveSome(socket_.Get(), chunk, sizeof chunk);
    switch (got.status) {
      case TransferStatus::kMoved:
        inbound_.append(chunk, got.bytes);
        taken += got.bytes;
        continue;
      case TransferStatus::kEndOfStream:
        return ReadOutcome::kEndOfStream;
      case TransferStatus::kWouldBlock:
        return ReadOutcome::kOpen;
      case TransferStatus::kFailed:
        break;
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
  return !outbound_.empty() && (!held_until_ || *held_until_ <= now);
}

std::optional<Clock::time_point> Connection::HeldUntil() const {
  return outbound_.empty() ? std::nullopt : held_until_;
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
    const Transfer sent = SendSome(socket_.Get(), from, left);
    if (sent.status != TransferStatus::kMoved) {
      return sent.status == TransferStatus::kWouldBlock;
    }
    written_of_front_ += sent.bytes;
    pending_bytes_ -= sent.bytes;
    if (written_of_front_ < front.bytes.size()) {
      return true;
    }
    written_of_front_ = 0;
    outbound_.pop_front();
  }
  return true;
}

}  // namespace sim::rcon
