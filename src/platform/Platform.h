#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <utility>

namespace gatehouse {

// What the plugin needs of the operating system. Each system has its own
// implementation in a folder of its own (posix/, windows/), picked by the build.
namespace Platform {

// The full path of the library file that holds this code, as the operating
// system reports it, in UTF-8. Asks the system at every call: the plugin asks
// once, at load (see common/LibraryPath.h).
std::string OwnLibraryPath();

// The calendar time of this moment in the server's time zone.
std::tm LocalTime(std::time_t when);

// The file beside `path` that a replacement of it is written to first: the
// same folder and name with this process's id and ".new" after it, so that two
// servers sharing one folder never write the same new file, and a file left by
// an earlier process with this id can only be this process's to remove.
std::string NewFileBeside(const std::string& path);

// Replaces the file at `path` (UTF-8) with `bytes` so that a reader finds, at
// every moment, either the old file whole or the new one whole: the bytes go
// to NewFileBeside(path), are flushed to disk, and that file is then moved
// over `path` (on Windows by the replacing move that writes through). Returns
// an empty text on success. On failure the old file is as it was, the new
// file is removed, and the result says which step failed and why, in the
// system's words.
std::string ReplaceFileWhole(const std::string& path, std::string_view bytes);

// What a file-status query tells of a file without reading it: its size and
// its last modification time (in the system's own units). Two equal states
// of one path are taken to mean the same bytes; a symbolic link is followed.
struct FileState {
  bool exists = false;
  uint64_t size = 0;
  int64_t modified = 0;

  bool operator==(const FileState& other) const = default;
};

// One file-status query of the file at `path` (UTF-8); a path that names no
// file (or a directory) gives a state that does not exist.
FileState StateOf(const std::string& path);

// The file a write of `path` must replace: `path` itself, or, when it is a
// symbolic link, the file the chain of links ends at, so that the link stays
// a link. A link that ends nowhere gives the last name it reached.
std::string WriteTarget(const std::string& path);

// A library opened by path and closed when its holder lets go of it.
class SharedLibrary {
 public:
  SharedLibrary() = default;
  ~SharedLibrary() { Close(); }
  SharedLibrary(SharedLibrary&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  SharedLibrary& operator=(SharedLibrary&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  // Opens the file at this path (UTF-8). On failure the result is empty and
  // `error` holds the system's reason.
  static SharedLibrary Open(const std::string& path, std::string& error);

  explicit operator bool() const { return handle_ != nullptr; }

  // The address of an exported symbol, by its linker name; null, with the
  // system's reason in `error`, when the library has none.
  void* Symbol(const char* name, std::string& error) const;

 private:
  explicit SharedLibrary(void* handle) : handle_(handle) {}
  void Close() noexcept;

  void* handle_ = nullptr;
};

}  // namespace Platform

}  // namespace gatehouse
