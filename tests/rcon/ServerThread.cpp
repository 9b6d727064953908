#include "ServerThread.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>

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
        responder_(*server_, client, request_id, command);
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
      client_count_ = server_->ClientCount();
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

bool ServerThread::WaitForClientCount(size_t count) const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (client_count_.load() != count) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

ServerThread::Responder ServerThread::EchoResponder() {
  return [](RconServer& server, ClientId client, int32_t request_id, const std::string& command) {
    server.Reply(client, request_id, kTypeResponseValue, "echo: " + command);
  };
}

}  // namespace sim::rcon::testing
