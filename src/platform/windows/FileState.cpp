#include <windows.h>

#include <filesystem>
#include <system_error>

#include "platform/Platform.h"
#include "platform/windows/WideText.h"

namespace gatehouse {

namespace Platform {

FileState StateOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(ToWide(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return {};
  }
  const uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  const int64_t modified =
      static_cast<int64_t>((static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                           data.ftLastWriteTime.dwLowDateTime);
  return {true, size, modified};
}

std::string WriteTarget(const std::string& path) {
  std::filesystem::path target(ToWide(path));
  // As many links as the system itself follows before it gives up.
  for (int step = 0; step < 40; ++step) {
    std::error_code error;
    if (!std::filesystem::is_symlink(target, error)) {
      break;
    }
    const std::filesystem::path next = std::filesystem::read_symlink(target, error);
    if (error) {
      break;
    }
    // A relative link names a file from the folder of the link itself.
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return FromWide(target.native());
}

}  // namespace Platform

}  // namespace gatehouse
