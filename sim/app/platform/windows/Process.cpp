// The sockets first: windows.h must not bring the old socket header.
#include "sim/app/EventLoop.h"
// After the sockets.
#include "sim/app/platform/Process.h"

#include <windows.h>
// After windows.h, which they need.
#include <psapi.h>
#include <shellapi.h>

#include <atomic>
#include <cstdio>

#include "sim/app/platform/windows/WideText.h"

namespace sim::app::platform {
namespace {

// The sending end of standard input's channel (see ReadStandardInput), for the
// stop handler to wake the loop with; invalid while there is none.
std::atomic<rcon::SocketHandle> input_sender{rcon::kInvalidSocket};

BOOL WINAPI OnConsoleControl(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
      EventLoop::RequestStop();
      // The loop's wait is not interrupted by this handler's thread: ending
      // the channel wakes it, and it sees the request.
      if (const rcon::SocketHandle sender = input_sender.load(); sender != rcon::kInvalidSocket) {
        rcon::ShutdownSending(sender);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

// The two ends of a loopback connection: a socket pair, which this system has
// not. The receiving end is checked to be our own sender's peer, so that no
// other program that connects first can take its place.
bool OpenChannel(rcon::UniqueSocket& sender, rcon::UniqueSocket& receiver) {
  uint16_t port = 0;
  std::string error;
  const rcon::UniqueSocket listener = rcon::ListenOnLoopback(0, &port, &error);
  rcon::Peer own{};
  if (!listener.Valid() || !(sender = rcon::ConnectToLoopback(port, &own)).Valid()) {
    return false;
  }
  // The connection is queued once connect returns; the wait is a safeguard.
  for (int tries = 0; tries < 50; ++tries) {
    std::vector<rcon::PollFd> ready{{listener.Get(), POLLIN, 0}};
    rcon::WaitForReadiness(ready, 100);
    rcon::Accepted accepted = rcon::AcceptClient(listener.Get());
    if (accepted.status == rcon::AcceptStatus::kAccepted && accepted.peer.port == own.port) {
      receiver = std::move(accepted.socket);
      return true;
    }
  }
  return false;
}

// The reader thread: moves standard input's bytes into the channel as they
// come, and ends the channel with the input. It only moves bytes; every line
// runs on the loop's thread.
DWORD WINAPI ForwardInput(void* channel) {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  const auto sender = reinterpret_cast<rcon::SocketHandle>(channel);
  static char buffer[65536];
  DWORD got = 0;
  while (input != nullptr && input != INVALID_HANDLE_VALUE &&
         ReadFile(input, buffer, sizeof buffer, &got, nullptr) != 0 && got != 0) {
    for (DWORD sent = 0; sent < got;) {
      const rcon::Transfer moved = rcon::SendSome(sender, buffer + sent, got - sent);
      if (moved.status != rcon::TransferStatus::kMoved) {
        return 0;  // the loop is gone
      }
      sent += static_cast<DWORD>(moved.bytes);
    }
  }
  rcon::ShutdownSending(sender);
  return 0;
}

}  // namespace

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

// Neither a console nor a pipe can join a wait over sockets here: a reader
// thread forwards standard input through a loopback connection, whose
// receiving end the loop waits on like any socket. The sender lives as long as
// the process, since the thread may stay blocked in its read until the end.
bool ReadStandardInput(EventLoop& loop, const std::function<bool(std::string_view)>& piece) {
  rcon::UniqueSocket sender;
  rcon::UniqueSocket receiver;
  HANDLE thread = nullptr;
  if (OpenChannel(sender, receiver)) {
    thread =
        CreateThread(nullptr, 0, &ForwardInput, reinterpret_cast<void*>(sender.Get()), 0, nullptr);
  }
  if (thread == nullptr) {
    std::fprintf(stderr, "gatehouse-sim: cannot read standard input\n");
    return true;
  }
  CloseHandle(thread);
  input_sender = sender.Release();
  char buffer[65536];
  while (!EventLoop::StopRequested()) {
    const short events = loop.Pass(receiver.Get(), -1);
    if (EventLoop::StopRequested()) {
      break;
    }
    if ((events & (POLLIN | POLLHUP | POLLERR)) == 0) {
      continue;
    }
    const rcon::Transfer got = rcon::ReceiveSome(receiver.Get(), buffer, sizeof buffer);
    if (got.status == rcon::TransferStatus::kWouldBlock) {
      continue;
    }
    if (got.status != rcon::TransferStatus::kMoved) {
      return true;
    }
    if (!piece(std::string_view(buffer, got.bytes))) {
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

// ---- The library loader -----------------------------------------------------

std::string AsFilePath(const std::string& path) {
  return path.find_first_of("/\\") == std::string::npos ? ".\\" + path : path;
}

// The loader names a library it opens by its full path (GetFullPathNameW);
// GetModuleFileNameW gives the plugin that same name.
std::string FullLibraryPath(const std::string& path) {
  const std::wstring wide = ToWide(path);
  const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) {
    return path;
  }
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) {
    return path;
  }
  full.resize(length);
  return FromWide(full);
}

void* OpenLibrary(const std::string& path, std::string& error) {
  HMODULE handle = LoadLibraryW(ToWide(path).c_str());
  if (handle == nullptr) {
    error = SystemMessage(GetLastError());
  }
  return reinterpret_cast<void*>(handle);
}

bool CloseLibrary(void* handle, std::string& error) {
  if (FreeLibrary(static_cast<HMODULE>(handle)) == 0) {
    error = SystemMessage(GetLastError());
    return false;
  }
  return true;
}

bool LibraryStillLoaded(const std::string& path) {
  return GetModuleHandleW(ToWide(FullLibraryPath(path)).c_str()) != nullptr;
}

// ---- Failures of the file system --------------------------------------------

int64_t ProcessId() {
  return static_cast<int64_t>(GetCurrentProcessId());
}

std::string LimitFileSize(std::optional<int64_t> /*bytes*/) {
  return "this system has no limit on the size of a process's files";
}

std::string Pin(const std::string& /*path*/, bool /*pinned*/) {
  return "this system cannot pin a file against its owner";
}

}  // namespace sim::app::platform
