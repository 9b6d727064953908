// The server's current directory and where the permissions library lives.

#include <filesystem>
#include <string>
#include <system_error>

#include "host/Tools.h"
#include "host/Utf8Path.h"
#include "host/standin/PermissionsLibrary.h"
#include "sim/framework/Internal.h"
#include "sim/framework/SimHost.h"

namespace sim {
namespace {

std::string WorkingDirectory() {
  std::error_code error;
  const auto dir = std::filesystem::current_path(error);
  return error ? std::string(".") : Utf8FromPath(dir);
}

struct ToolsState {
  std::string current_dir = WorkingDirectory();
  std::string permissions_library;
};

constexpr auto& TheState = NeverDestroyed<ToolsState>;

std::string WithoutTrailingSeparator(std::string dir) {
  while (dir.size() > 1 && dir.back() == '/') {
    dir.pop_back();
  }
  return dir.empty() ? std::string(".") : dir;
}

}  // namespace

void SetCurrentDir(const std::string& dir) {
  TheState().current_dir = WithoutTrailingSeparator(dir);
  MoveLogTo(TheState().current_dir);
}

void SetPermissionsLibraryPath(const std::string& path) {
  TheState().permissions_library = path;
}

void ResetTools() {
  SetCurrentDir(WorkingDirectory());
  TheState().permissions_library.clear();
}

void ResetHost() {
  ClearTimer();
  ClearCommands();
  ClearHooks();
  ClearApiUtils();
  ClearGameFunctions();
  ResetTools();
  ClearFaults();
  SetClockMode(ClockMode::virtual_time);
  SetOutputWriter(nullptr);
  SetErrorWriter(nullptr);
  SetTrace(false);
  SetLoadingLibrary({});
}

}  // namespace sim

std::string AsaApi::Tools::GetCurrentDir() {
  return sim::TheState().current_dir;
}

std::string AsaApi::Tools::GetPermissionsLibraryPath() {
  return sim::TheState().permissions_library;
}
