#include "sim/app/platform/Process.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <linux/fs.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "sim/app/EventLoop.h"

namespace sim::app::platform {
namespace {

void OnStopSignal(int /*signal*/) {
  EventLoop::RequestStop();
}

std::string LoaderError() {
  const char* error = dlerror();
  return error != nullptr ? error : "unknown reason";
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

// ---- The library loader -----------------------------------------------------

std::string AsFilePath(const std::string& path) {
  return path.find('/') == std::string::npos ? "./" + path : path;
}

std::string FullLibraryPath(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

void* OpenLibrary(const std::string& path, std::string& error) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    error = LoaderError();
  }
  return handle;
}

bool CloseLibrary(void* handle, std::string& error) {
  if (dlclose(handle) != 0) {
    error = LoaderError();
    return false;
  }
  return true;
}

bool LibraryStillLoaded(const std::string& path) {
  void* still_there = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (still_there == nullptr) {
    return false;
  }
  dlclose(still_there);
  return true;
}

// ---- Failures of the file system --------------------------------------------

int64_t ProcessId() {
  return ::getpid();
}

std::string LimitFileSize(std::optional<int64_t> bytes) {
  rlimit limit{};
  if (::getrlimit(RLIMIT_FSIZE, &limit) != 0) {
    return std::strerror(errno);
  }
  // A write past the limit then fails with "File too large" instead of
  // ending the process.
  std::signal(SIGXFSZ, SIG_IGN);
  limit.rlim_cur = bytes ? static_cast<rlim_t>(*bytes) : limit.rlim_max;
  return ::setrlimit(RLIMIT_FSIZE, &limit) == 0 ? std::string() : std::strerror(errno);
}

// The file system's immutable flag: even the superuser cannot change, rename,
// replace or remove what carries it, nor add to a folder that does.
std::string Pin(const std::string& path, bool pinned) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    return std::strerror(errno);
  }
  int flags = 0;
  std::string failure;
  if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0) {
    failure = std::strerror(errno);
  } else {
    flags = pinned ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    if (::ioctl(fd, FS_IOC_SETFLAGS, &flags) != 0) {
      failure = std::strerror(errno);
    }
  }
  ::close(fd);
  return failure;
}

}  // namespace sim::app::platform
