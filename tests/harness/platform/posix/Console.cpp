#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

#include "harness/InProcessServer.h"

// The console print writes to descriptor 1 through C stdio: standard output is
// pointed elsewhere by descriptor, with stdio flushed on either side.
namespace gatehouse::harness {

namespace {

// Points descriptor 1 at `target` and closes it; gives a copy of what it was.
int Redirect(int target) {
  std::fflush(stdout);
  const int saved = ::dup(STDOUT_FILENO);
  ::dup2(target, STDOUT_FILENO);
  ::close(target);
  return saved;
}

void Restore(int saved) {
  std::fflush(stdout);
  ::dup2(saved, STDOUT_FILENO);
  ::close(saved);
}

}  // namespace

int64_t ProcessId() {
  return ::getpid();
}

SilentStdout::SilentStdout() : saved_(Redirect(::open("/dev/null", O_WRONLY))) {}

SilentStdout::~SilentStdout() {
  Restore(saved_);
}

namespace console {

const char* const kLineEnd = "\n";

void PrepareCapture() {}

std::string Capture(const std::function<void()>& action) {
  std::FILE* const file = std::tmpfile();
  if (file == nullptr) {
    throw std::runtime_error("no temporary file for the console capture");
  }
  const int saved = Redirect(::dup(::fileno(file)));
  try {
    action();
  } catch (...) {
    Restore(saved);
    std::fclose(file);
    throw;
  }
  Restore(saved);
  std::rewind(file);
  std::string captured;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
    captured += static_cast<char>(c);
  }
  std::fclose(file);
  return captured;
}

}  // namespace console

}  // namespace gatehouse::harness
