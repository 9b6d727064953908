#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/Platform.h"

namespace gatehouse {

namespace Platform {
namespace {

std::string Failed(const std::string& step, int code) {
  return step + ": " + std::strerror(code);
}

std::string FileName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Folder(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

// Writes every byte, also when the system takes them in parts.
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return errno;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return 0;
}

// The new file with the old one's permission bits, so that the replacement
// is as readable as the file it replaces.
mode_t ModeOf(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) == 0) {
    return status.st_mode & 07777;
  }
  return 0644;
}

}  // namespace

std::string NewFileBeside(const std::string& path) {
  return path + "." + std::to_string(::getpid()) + ".new";
}

std::string ReplaceFileWhole(const std::string& path, std::string_view bytes) {
  const std::string beside = NewFileBeside(path);
  // A file of that name is what a process with this id left behind.
  ::unlink(beside.c_str());
  const mode_t mode = ModeOf(path);
  const int fd = ::open(beside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) {
    const int code = errno;
    return Failed("cannot create the new file beside " + FileName(path), code);
  }
  std::string failure;
  ::fchmod(fd, mode);
  if (const int write_error = WriteAll(fd, bytes); write_error != 0) {
    failure = Failed("cannot write the new file", write_error);
  } else if (::fsync(fd) != 0) {
    const int code = errno;
    failure = Failed("cannot flush the new file to disk", code);
  }
  if (::close(fd) != 0 && failure.empty()) {
    const int code = errno;
    failure = Failed("cannot close the new file", code);
  }
  if (failure.empty() && ::rename(beside.c_str(), path.c_str()) != 0) {
    const int code = errno;
    failure = Failed("cannot rename the new file over " + FileName(path), code);
  }
  if (!failure.empty()) {
    ::unlink(beside.c_str());
    return failure;
  }
  // The rename itself reaches the disk with the folder's entry.
  const int folder = ::open(Folder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return {};
}

}  // namespace Platform

}  // namespace gatehouse
