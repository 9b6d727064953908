#include "sim/app/platform/Process.h"

#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>
#include <shellapi.h>

#include "sim/app/EventLoop.h"
#include "sim/app/platform/windows/WideText.h"

namespace sim::app::platform {
namespace {

BOOL WINAPI OnConsoleControl(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
      EventLoop::RequestStop();
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

const char* const kNoRconServer =
    "--rcon-port: this build does not serve RCON over TCP (the rcon command does)";
const char* const kNoRealClockWithInput =
    "--clock real: this build runs the real clock only with --script";

// The wide command line: narrow arguments would lose every character outside
// the system's code page.
std::vector<std::string> Arguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) {
    return std::vector<std::string>(argv + 1, argv + argc);
  }
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) {
    arguments.push_back(FromWide(wide[i]));
  }
  LocalFree(wide);
  return arguments;
}

std::string ExecutableFolder(const char* /*argv0*/) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) {
      return ".";
    }
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? "." : FromWide(path.substr(0, separator));
}

void InstallStopHandlers() {
  SetConsoleCtrlHandler(&OnConsoleControl, TRUE);
}

bool StandardInputIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

// Blocking reads: this build runs the virtual clock while it reads standard
// input, so nothing else needs the thread while it waits.
bool ReadStandardInput(EventLoop& /*loop*/, const std::function<bool(std::string_view)>& piece) {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (input == nullptr || input == INVALID_HANDLE_VALUE) {
    return true;
  }
  char buffer[65536];
  while (!EventLoop::StopRequested()) {
    DWORD got = 0;
    if (ReadFile(input, buffer, sizeof buffer, &got, nullptr) == 0 || got == 0) {
      return true;
    }
    if (!piece(std::string_view(buffer, got))) {
      return false;
    }
  }
  return false;
}

std::optional<long long> ResidentKilobytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters) == 0) {
    return std::nullopt;
  }
  return static_cast<long long>(counters.WorkingSetSize / 1024);
}

}  // namespace sim::app::platform
