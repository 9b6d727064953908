#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Platform.h"

namespace gatehouse {

namespace Platform {

FileState StateOf(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 || S_ISDIR(status.st_mode)) {
    return {};
  }
  return {true, static_cast<uint64_t>(status.st_size),
          static_cast<int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

std::string WriteTarget(const std::string& path) {
  std::string target = path;
  // As many links as the system itself follows before it gives up.
  for (int step = 0; step < 40; ++step) {
    char link[PATH_MAX];
    const ssize_t length = ::readlink(target.c_str(), link, sizeof(link) - 1);
    if (length < 0) {
      return target;
    }
    const std::string next(link, static_cast<size_t>(length));
    // A relative link names a file from the folder of the link itself.
    const size_t slash = target.find_last_of('/');
    target = (next.front() == '/' || slash == std::string::npos)
                 ? next
                 : target.substr(0, slash + 1) + next;
  }
  return target;
}

}  // namespace Platform

}  // namespace gatehouse
