#include "tests/scenario/RunProcess.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <memory>
#include <stdexcept>

#include "src/host/Utf8Path.h"

namespace gatehouse::scenario {
namespace {

// UTF-8 and UTF-16 through the paths' own conversion, which does not go
// through the system's narrow code page.
std::wstring ToWide(const std::string& text) {
  return PathFromUtf8(text).wstring();
}

std::string SystemMessage(DWORD code) {
  return "system error " + std::to_string(code);
}

struct CloseHandleDeleter {
  void operator()(HANDLE handle) const {
    if (handle != INVALID_HANDLE_VALUE) {
      CloseHandle(handle);
    }
  }
};
using Handle = std::unique_ptr<void, CloseHandleDeleter>;

// One argument as the program's start-up code splits its command line: quoted
// when it holds a blank or a quote, with the backslashes before a quote doubled.
std::wstring CommandLineArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    return argument;
  }
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L'"';
}

}  // namespace

int RunProcess(const std::vector<std::string>& command, const std::filesystem::path& out,
               const std::filesystem::path& err) {
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const auto open = [&](const wchar_t* path, DWORD access, DWORD disposition) {
    return CreateFileW(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       &inherited, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  const Handle input(open(L"NUL", GENERIC_READ, OPEN_EXISTING));
  const Handle output(open(out.c_str(), GENERIC_WRITE, CREATE_ALWAYS));
  const Handle error(open(err.c_str(), GENERIC_WRITE, CREATE_ALWAYS));
  if (input.get() == INVALID_HANDLE_VALUE || output.get() == INVALID_HANDLE_VALUE ||
      error.get() == INVALID_HANDLE_VALUE) {
    throw std::runtime_error("cannot open the files of " + command[0] +
                             "'s output: " + SystemMessage(GetLastError()));
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input.get();
  startup.hStdOutput = output.get();
  startup.hStdError = error.get();
  std::wstring line;
  for (const std::string& argument : command) {
    line += (line.empty() ? L"" : L" ") + CommandLineArgument(ToWide(argument));
  }
  PROCESS_INFORMATION started{};
  if (CreateProcessW(ToWide(command[0]).c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                     nullptr, &startup, &started) == 0) {
    throw std::runtime_error("cannot start " + command[0] + ": " + SystemMessage(GetLastError()));
  }
  const Handle process(started.hProcess);
  const Handle thread(started.hThread);
  WaitForSingleObject(process.get(), INFINITE);
  DWORD status = 0;
  GetExitCodeProcess(process.get(), &status);
  return static_cast<int>(status);
}

// The wide command line: narrow arguments would lose every character outside
// the system's code page.
std::vector<std::string> CommandLine(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) {
    return std::vector<std::string>(argv + 1, argv + argc);
  }
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) {
    arguments.push_back(Utf8FromPath(std::filesystem::path(wide[i])));
  }
  LocalFree(wide);
  return arguments;
}

void SetEnvironment(const std::string& name, const std::string& value) {
  SetEnvironmentVariableW(ToWide(name).c_str(), ToWide(value).c_str());
}

}  // namespace gatehouse::scenario
