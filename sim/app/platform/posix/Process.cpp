#include "sim/app/platform/Process.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "sim/app/EventLoop.h"

namespace sim::app::platform {
namespace {

void OnStopSignal(int /*signal*/) {
  EventLoop::RequestStop();
}

}  // namespace

std::vector<std::string> Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

std::string ExecutableFolder(const char* argv0) {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) {
    self = std::filesystem::absolute(argv0);
  }
  return self.parent_path().string();
}

void InstallStopHandlers() {
  // A reader that goes away must not end the server mid-line.
  std::signal(SIGPIPE, SIG_IGN);
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no restart: poll returns, and the loop sees the request
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool StandardInputIsTerminal() {
  return isatty(STDIN_FILENO) != 0;
}

bool ReadStandardInput(EventLoop& loop, const std::function<bool(std::string_view)>& piece) {
  char buffer[65536];
  while (!EventLoop::StopRequested()) {
    const short events = loop.Pass(STDIN_FILENO, -1);
    if ((events & POLLNVAL) != 0) {
      return true;
    }
    if ((events & (POLLIN | POLLHUP | POLLERR)) == 0) {
      continue;
    }
    const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
      continue;
    }
    if (got <= 0) {
      return true;
    }
    if (!piece(std::string_view(buffer, static_cast<size_t>(got)))) {
      return false;
    }
  }
  return false;
}

std::optional<long long> ResidentKilobytes() {
  std::ifstream statm("/proc/self/statm");
  long long total_pages = 0;
  long long resident_pages = 0;
  const long page_size = ::sysconf(_SC_PAGESIZE);
  if (!(statm >> total_pages >> resident_pages) || page_size <= 0) {
    return std::nullopt;
  }
  return resident_pages * page_size / 1024;
}

}  // namespace sim::app::platform
