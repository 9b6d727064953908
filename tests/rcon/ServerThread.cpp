#include "ServerThread.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <utility>

namespace sim::rcon::testing {

ServerThread::ServerThread(RconOptions options, Responder responder)
    : responder_(std::move(responder)) {
  server_ = std::make_unique<RconServer>(
      kPassword,
      [this](ClientId client, int32_t request_id, std::string command) {
        {
          std::lock_guard lock(mutex_);
          commands_.push_back(command);
        }
        changed_.notify_all();
        if (responder_) {
          responder_(*server_, client, request_id, command);
        } else {
          server_->Reply(client, request_id, kTypeResponseValue, "echo: " + command);
        }
      },
      options);
  std::string error;
  if (!server_->Listen(0, &error)) {
    throw std::runtime_error(error);
  }
  // Short polls, so that the loop sees the stop flag without a wake-up channel.
  thread_ = std::thread([this] {
    std::vector<PollFd> fds;
    while (!stop_) {
      fds.clear();
      server_->AppendPollFds(fds);
      const int timeout = server_->PollTimeoutMs();
      WaitForReadiness(fds, timeout < 0 ? 10 : std::min(timeout, 10));
      server_->Service(fds);
      const size_t clients = server_->ClientCount();
      std::unique_lock lock(mutex_);
      if (clients != client_count_) {
        client_count_ = clients;
        lock.unlock();
        changed_.notify_all();
      }
    }
    server_->Close();
  });
}

ServerThread::~ServerThread() {
  stop_ = true;
  thread_.join();
}

std::vector<std::string> ServerThread::Commands() const {
  std::lock_guard lock(mutex_);
  return commands_;
}

bool ServerThread::WaitUntil(const std::function<bool()>& condition) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, std::chrono::seconds(5), condition);
}

bool ServerThread::WaitForClientCount(size_t count) const {
  return WaitUntil([&] { return client_count_ == count; });
}

bool ServerThread::WaitForCommandCount(size_t count) const {
  return WaitUntil([&] { return commands_.size() >= count; });
}

}  // namespace sim::rcon::testing
