#include "tests/scenario/RunProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace gatehouse::scenario {
namespace {

// Owns a spawn's file actions and attributes for the call's length.
struct SpawnSetup {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;

  SpawnSetup() {
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
  }
  ~SpawnSetup() {
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;
};

}  // namespace

int RunProcess(const std::vector<std::string>& command, const std::filesystem::path& out,
               const std::filesystem::path& err, std::chrono::seconds limit) {
  SpawnSetup setup;
  constexpr int kWrite = O_WRONLY | O_CREAT | O_TRUNC;
  posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&setup.actions, 1, out.c_str(), kWrite, 0644);
  posix_spawn_file_actions_addopen(&setup.actions, 2, err.c_str(), kWrite, 0644);
  // The child's end is awaited as a signal with a deadline, so SIGCHLD is
  // blocked here; the program starts with no signal blocked.
  sigset_t child_ended;
  sigemptyset(&child_ended);
  sigaddset(&child_ended, SIGCHLD);
  sigprocmask(SIG_BLOCK, &child_ended, nullptr);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&setup.attributes, &none);
  posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSIGMASK);

  std::vector<char*> arguments;
  for (const std::string& argument : command) {
    arguments.push_back(const_cast<char*>(argument.c_str()));
  }
  arguments.push_back(nullptr);
  pid_t pid = 0;
  if (const int error = posix_spawn(&pid, arguments[0], &setup.actions, &setup.attributes,
                                    arguments.data(), environ);
      error != 0) {
    throw std::runtime_error("cannot start " + command[0] + ": " + std::strerror(error));
  }

  const auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return 124;
    }
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
    const timespec wait{static_cast<time_t>(seconds.count()),
                        static_cast<long>((left - seconds) / std::chrono::nanoseconds(1))};
    // Returns when the child ends (or ended since the last look: the signal
    // stays pending), at the deadline, or on another signal.
    sigtimedwait(&child_ended, nullptr, &wait);
  }
  return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

void SetEnvironment(const std::string& name, const std::string& value) {
  setenv(name.c_str(), value.c_str(), 1);
}

}  // namespace gatehouse::scenario
