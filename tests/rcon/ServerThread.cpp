#include "ServerThread.h"

#include <poll.h>
#include <unistd.h>

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
  port_ = server_->Port();
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) {
    throw std::runtime_error("pipe");
  }
  wake_read_ = UniqueFd(pipe_fds[0]);
  wake_write_ = UniqueFd(pipe_fds[1]);
  thread_ = std::thread([this] { Loop(); });
}

ServerThread::~ServerThread() {
  stop_ = true;
  const char byte = 0;
  [[maybe_unused]] const ssize_t written = ::write(wake_write_.Get(), &byte, 1);
  thread_.join();
}

void ServerThread::Loop() {
  std::vector<pollfd> fds;
  while (!stop_) {
    fds.clear();
    fds.push_back(pollfd{wake_read_.Get(), POLLIN, 0});
    server_->AppendPollFds(fds);
    ::poll(fds.data(), fds.size(), server_->PollTimeoutMs());
    server_->Service(fds);
    client_count_ = server_->ClientCount();
  }
  server_->Close();
}

std::vector<std::string> ServerThread::Commands() const {
  std::lock_guard lock(mutex_);
  return commands_;
}

bool ServerThread::WaitForClientCount(size_t count) const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (ClientCount() != count) {
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
