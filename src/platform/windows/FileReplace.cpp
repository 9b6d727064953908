#include <windows.h>

#include "platform/Platform.h"
#include "platform/windows/SystemMessage.h"
#include "platform/windows/WideText.h"

namespace gatehouse {

namespace Platform {
namespace {

std::string Failed(const std::string& step, DWORD code) {
  return step + ": " + SystemMessage(code);
}

std::string FileName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Writes every byte, in parts that a DWORD counts.
DWORD WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD part = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), part, &written, nullptr)) {
      return GetLastError();
    }
    bytes.remove_prefix(written);
  }
  return 0;
}

}  // namespace

std::string NewFileBeside(const std::string& path) {
  return path + "." + std::to_string(GetCurrentProcessId()) + ".new";
}

std::string ReplaceFileWhole(const std::string& path, std::string_view bytes) {
  const std::string beside_utf8 = NewFileBeside(path);
  const std::wstring beside = ToWide(beside_utf8);
  // A file of that name is what a process with this id left behind.
  DeleteFileW(beside.c_str());
  const HANDLE file = CreateFileW(beside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    return Failed("cannot create the new file beside " + FileName(path), code);
  }
  std::string failure;
  if (const DWORD write_error = WriteAll(file, bytes); write_error != 0) {
    failure = Failed("cannot write the new file", write_error);
  } else if (!FlushFileBuffers(file)) {
    const DWORD code = GetLastError();
    failure = Failed("cannot flush the new file to disk", code);
  }
  if (!CloseHandle(file) && failure.empty()) {
    const DWORD code = GetLastError();
    failure = Failed("cannot close the new file", code);
  }
  if (failure.empty() && !MoveFileExW(beside.c_str(), ToWide(path).c_str(),
                                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD code = GetLastError();
    failure = Failed("cannot rename the new file over " + FileName(path), code);
  }
  if (!failure.empty()) {
    DeleteFileW(beside.c_str());
  }
  return failure;
}

}  // namespace Platform

}  // namespace gatehouse
