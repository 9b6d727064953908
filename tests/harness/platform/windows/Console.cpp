#include <windows.h>

#include <stdexcept>

#include "harness/InProcessServer.h"

// The console print writes to the standard output handle it found when it was
// made, so the process's standard output handle is a file of ours before that,
// for the rest of the run; a capture reads what was appended to it meanwhile.
namespace gatehouse::harness {

int64_t ProcessId() {
  return static_cast<int64_t>(GetCurrentProcessId());
}

namespace console {

const char* const kLineEnd = "\r\n";

namespace {

HANDLE output = INVALID_HANDLE_VALUE;

LARGE_INTEGER End(HANDLE file) {
  LARGE_INTEGER end{};
  SetFilePointerEx(file, LARGE_INTEGER{}, &end, FILE_END);
  return end;
}

}  // namespace

void PrepareCapture() {
  if (output != INVALID_HANDLE_VALUE) {
    return;
  }
  wchar_t folder[MAX_PATH + 1];
  wchar_t path[MAX_PATH + 1];
  if (GetTempPathW(MAX_PATH + 1, folder) == 0 || GetTempFileNameW(folder, L"gh", 0, path) == 0) {
    throw std::runtime_error("no temporary file for the console capture");
  }
  output = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (output == INVALID_HANDLE_VALUE) {
    throw std::runtime_error("cannot open the console capture file");
  }
  SetStdHandle(STD_OUTPUT_HANDLE, output);
}

std::string Capture(const std::function<void()>& action) {
  PrepareCapture();
  const LARGE_INTEGER begin = End(output);
  action();
  const LARGE_INTEGER end = End(output);
  std::string captured(static_cast<size_t>(end.QuadPart - begin.QuadPart), '\0');
  SetFilePointerEx(output, begin, nullptr, FILE_BEGIN);
  DWORD got = 0;
  if (!captured.empty()) {
    ReadFile(output, captured.data(), static_cast<DWORD>(captured.size()), &got, nullptr);
  }
  captured.resize(got);
  End(output);
  return captured;
}

}  // namespace console

}  // namespace gatehouse::harness
