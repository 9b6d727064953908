#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/rcon/RconServer.h"

namespace sim::rcon::testing {

// The password of every test server.
inline constexpr const char* kPassword = "hunter2";

// The server's own options but for a short pause between the two packets that
// answer a password: most tests log in, and only the test of that pause needs
// its full length.
inline RconOptions TestOptions() {
  RconOptions options;
  options.auth_reply_pause = std::chrono::milliseconds(10);
  return options;
}

// An RconServer run by a poll loop on a thread of its own, as the simulator's
// game loop runs it, so that blocking test clients can talk to it. Commands
// are recorded; the reply to each is chosen by the test's responder, which
// runs on the loop's thread, or else is "echo: COMMAND" with the request id.
class ServerThread {
 public:
  using Responder = std::function<void(RconServer&, ClientId, int32_t, const std::string&)>;

  explicit ServerThread(RconOptions options = TestOptions(), Responder responder = nullptr);
  ~ServerThread();

  uint16_t Port() const { return server_->Port(); }
  std::vector<std::string> Commands() const;
  // Wait until the server holds this many clients / has received this many
  // commands; false when five seconds pass first.
  bool WaitForClientCount(size_t count) const;
  bool WaitForCommandCount(size_t count) const;

 private:
  // Waits on changed_ for a condition on what the loop records under mutex_.
  bool WaitUntil(const std::function<bool()>& condition) const;

  Responder responder_;
  std::unique_ptr<RconServer> server_;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  size_t client_count_ = 0;
  std::vector<std::string> commands_;
  std::thread thread_;
};

}  // namespace sim::rcon::testing
