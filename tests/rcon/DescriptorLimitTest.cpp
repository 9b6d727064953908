// Out of descriptors, a POSIX condition made with the process's descriptor
// limit: the server backs off instead of spinning.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "RawClient.h"
#include "ServerThread.h"
#include "sim/rcon/RconServer.h"

namespace sim::rcon::testing {
namespace {

// Runs the server as the simulator's loop does, on this thread, until done()
// or the time is up.
void RunFor(
    RconServer& server, std::chrono::milliseconds time,
    const std::function<bool()>& done = [] { return false; }) {
  const auto end = std::chrono::steady_clock::now() + time;
  std::vector<PollFd> fds;
  while (!done() && std::chrono::steady_clock::now() < end) {
    fds.clear();
    server.AppendPollFds(fds);
    const int timeout = server.PollTimeoutMs();
    WaitForReadiness(fds, timeout < 0 ? 50 : std::min(timeout, 50));
    server.Service(fds);
  }
}

std::chrono::microseconds ProcessCpuTime() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto total = [](const timeval& t) {
    return std::chrono::seconds(t.tv_sec) + std::chrono::microseconds(t.tv_usec);
  };
  return total(usage.ru_utime) + total(usage.ru_stime);
}

// Out of descriptors, accepting fails while clients wait to be accepted and
// the listener stays readable: the server backs off instead of spinning, and
// takes the waiting clients soon after descriptors are free again.
TEST(RconLoad, OutOfDescriptorsTheServerBacksOffAndAcceptsOnceSomeAreFree) {
  RconServer server(kPassword, [](ClientId, int32_t, std::string) {});
  std::string error;
  ASSERT_TRUE(server.Listen(0, &error)) << error;
  std::vector<std::unique_ptr<RawClient>> clients;
  for (int i = 0; i < 8; ++i) {
    clients.push_back(std::make_unique<RawClient>(server.Port()));
    ASSERT_TRUE(clients.back()->Connected()) << i;
  }
  // The limit at the lowest free descriptor: not one more can be had.
  rlimit limit{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
  const int lowest_free = ::open("/dev/null", O_RDONLY);
  ::close(lowest_free);
  const rlimit starved{static_cast<rlim_t>(lowest_free), limit.rlim_max};
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &starved), 0);
  const auto cpu_before = ProcessCpuTime();
  RunFor(server, std::chrono::milliseconds(300));
  const auto cpu = ProcessCpuTime() - cpu_before;
  setrlimit(RLIMIT_NOFILE, &limit);
  EXPECT_EQ(server.ClientCount(), 0u);
  EXPECT_LT(cpu, std::chrono::milliseconds(30));

  const auto freed = std::chrono::steady_clock::now();
  RunFor(server, std::chrono::seconds(2), [&] { return server.ClientCount() == clients.size(); });
  EXPECT_EQ(server.ClientCount(), clients.size());
  EXPECT_LT(std::chrono::steady_clock::now() - freed, std::chrono::milliseconds(500));
}

}  // namespace
}  // namespace sim::rcon::testing
