#include "tests/scenario/RunProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace gatehouse::scenario {

int RunProcess(const std::vector<std::string>& command, const std::filesystem::path& out,
               const std::filesystem::path& err) {
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  constexpr int kWrite = O_WRONLY | O_CREAT | O_TRUNC;
  posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, 1, out.c_str(), kWrite, 0644);
  posix_spawn_file_actions_addopen(&files, 2, err.c_str(), kWrite, 0644);
  std::vector<char*> arguments;
  for (const std::string& argument : command) {
    arguments.push_back(const_cast<char*>(argument.c_str()));
  }
  arguments.push_back(nullptr);
  pid_t pid = 0;
  const int error = posix_spawn(&pid, arguments[0], &files, nullptr, arguments.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  int status = 0;
  if (error != 0 || waitpid(pid, &status, 0) != pid) {
    throw std::runtime_error("cannot run " + command[0] + ": " +
                             std::strerror(error != 0 ? error : errno));
  }
  return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

std::vector<std::string> CommandLine(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

void SetEnvironment(const std::string& name, const std::string& value) {
  setenv(name.c_str(), value.c_str(), 1);
}

}  // namespace gatehouse::scenario
