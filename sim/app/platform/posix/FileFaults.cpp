#include "sim/app/platform/Process.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace sim::app::platform {

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
