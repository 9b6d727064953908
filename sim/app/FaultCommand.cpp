#include "sim/app/FaultCommand.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "host/Utf8Path.h"
#include "sim/app/Numbers.h"
#include "sim/app/platform/Process.h"
#include "sim/framework/SimHost.h"

namespace sim::app {

const char* const kFaultForms =
    "refuse NAME\naccept NAME\nalloc fail\nalloc after N\nalloc off\n"
    "unresolve SIGNATURE\nresolve SIGNATURE\npermissions missing\npermissions present\n"
    "write block\nwrite unblock\nwrite limit N\nwrite limit off\n"
    "folder readonly\nfolder writable\nconfig pinned\nconfig unpinned";

namespace {

constexpr const char* kUsage =
    "fault takes refuse|accept NAME, alloc fail|off|after N, unresolve|resolve SIGNATURE, "
    "permissions missing|present, write block|unblock, write limit N|off, "
    "folder readonly|writable or config pinned|unpinned";

bool Alloc(std::string_view mode, const std::vector<std::string_view>& words) {
  if (words.size() == 3 && (mode == "fail" || mode == "off")) {
    FailAllocationsAfter(mode == "fail" ? std::optional<int64_t>(0) : std::nullopt);
    return true;
  }
  const auto granted =
      words.size() == 4 && mode == "after" ? ParseCount<int64_t>(words[3]) : std::nullopt;
  if (granted) {
    FailAllocationsAfter(*granted);
  }
  return granted.has_value();
}

namespace fs = std::filesystem;

// Where the plugin writes config.json's replacement before it renames it.
fs::path NewFileBeside(const std::string& config_path) {
  return PathFromUtf8(config_path + "." + std::to_string(platform::ProcessId()) + ".new");
}

void Report(const std::string& what, const std::string& failure) {
  if (!failure.empty()) {
    PrintError("cannot " + what + ": " + failure);
  }
}

bool Write(const std::vector<std::string_view>& words, const std::string& config_path) {
  std::error_code error;
  if (words.size() == 3 && words[2] == "block") {
    fs::create_directory(NewFileBeside(config_path), error);
    Report("block the plugin's new file", error ? error.message() : std::string());
    return true;
  }
  if (words.size() == 3 && words[2] == "unblock") {
    fs::remove(NewFileBeside(config_path), error);
    return true;
  }
  if (words.size() != 4 || words[2] != "limit") {
    return false;
  }
  if (words[3] == "off") {
    Report("lift the file size limit", platform::LimitFileSize(std::nullopt));
    return true;
  }
  const auto bytes = ParseCount<int64_t>(words[3]);
  if (bytes) {
    Report("limit the file size", platform::LimitFileSize(*bytes));
  }
  return bytes.has_value();
}

bool Pin(std::string_view state, const std::string& path, std::string_view on,
         std::string_view off) {
  if (state != on && state != off) {
    return false;
  }
  Report("pin " + path, platform::Pin(path, state == on));
  return true;
}

std::string PluginFolder(const std::string& config_path) {
  return Utf8FromPath(PathFromUtf8(config_path).parent_path());
}

bool Run(const std::vector<std::string_view>& words, const FaultTargets& targets) {
  if (words.size() < 3) {
    return false;
  }
  const std::string_view what = words[1];
  const std::string argument(words[2]);
  if (what == "alloc") {
    return Alloc(argument, words);
  }
  if (what == "write") {
    return Write(words, targets.config_path);
  }
  if (words.size() != 3) {
    return false;
  }
  if (what == "refuse") {
    RefuseRegistration(argument);
  } else if (what == "accept") {
    AllowRegistration(argument);
  } else if (what == "unresolve") {
    HideGameFunction(argument);
  } else if (what == "resolve") {
    RestoreGameFunction(argument);
  } else if (what == "permissions" && (argument == "missing" || argument == "present")) {
    SetPermissionsLibraryPath(argument == "present" ? targets.permissions_path : std::string());
  } else if (what == "folder") {
    return Pin(argument, PluginFolder(targets.config_path), "readonly", "writable");
  } else if (what == "config") {
    return Pin(argument, targets.config_path, "pinned", "unpinned");
  } else {
    return false;
  }
  return true;
}

}  // namespace

void RunFaultCommand(const std::vector<std::string_view>& words, const FaultTargets& targets) {
  if (!Run(words, targets)) {
    PrintError(kUsage);
  }
}

void ClearFileFaults(const FaultTargets& targets) {
  // Only what a fault can have set: nothing is reported, since most were
  // never brought on.
  std::error_code ignored;
  if (fs::is_directory(NewFileBeside(targets.config_path), ignored)) {
    fs::remove(NewFileBeside(targets.config_path), ignored);
  }
  platform::Pin(targets.config_path, false);
  platform::Pin(PluginFolder(targets.config_path), false);
}

}  // namespace sim::app
