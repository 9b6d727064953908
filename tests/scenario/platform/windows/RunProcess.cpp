#include "tests/scenario/RunProcess.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <stdexcept>

namespace gatehouse::scenario {
namespace {

std::wstring ToWide(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(),
                                                      static_cast<int>(text.size()), wide.data(),
                                                      static_cast<int>(wide.size()))));
  return wide;
}

std::string FromWide(const std::wstring& wide) {
  const int size = static_cast<int>(wide.size());
  std::string text(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr,
                                                           0, nullptr, nullptr)),
                   '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), static_cast<int>(text.size()),
                      nullptr, nullptr);
  return text;
}

std::string SystemMessage(DWORD code) {
  return "system error " + std::to_string(code);
}

// Closes a handle when it goes; invalid handles are ignored.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (Valid()) {
      CloseHandle(handle_);
    }
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

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
  if (!input.Valid() || !output.Valid() || !error.Valid()) {
    throw std::runtime_error("cannot open the files of " + command[0] +
                             "'s output: " + SystemMessage(GetLastError()));
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input.Get();
  startup.hStdOutput = output.Get();
  startup.hStdError = error.Get();
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
  WaitForSingleObject(process.Get(), INFINITE);
  DWORD status = 0;
  GetExitCodeProcess(process.Get(), &status);
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
    arguments.push_back(FromWide(wide[i]));
  }
  LocalFree(wide);
  return arguments;
}

void SetEnvironment(const std::string& name, const std::string& value) {
  SetEnvironmentVariableW(ToWide(name).c_str(), ToWide(value).c_str());
}

}  // namespace gatehouse::scenario
