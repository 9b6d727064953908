#include "config/ReadConfig.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "common/Names.h"
#include "common/PluginLog.h"
#include "config/InstallPluginConfig.h"
#include "host/Tools.h"
#include "host/Utf8Path.h"

namespace gatehouse {

std::string ConfigPath() {
  return AsaApi::Tools::GetCurrentDir() + "/ArkApi/Plugins/" + Names::kPlugin + "/config.json";
}

void ReadConfig() {
  ReadConfigFile(ConfigPath());
}

void ReadConfigFile(const std::string& path) {
  // A directory opens as a stream on this platform but can never be read.
  std::error_code ignored;
  std::ifstream file;
  if (!std::filesystem::is_directory(PathFromUtf8(path), ignored)) {
    file.open(PathFromUtf8(path));
  }
  if (!file.is_open()) {
    throw std::runtime_error("Can't open config.json");
  }
  // Only the first value is read: a BOM before it is skipped, comments are an
  // error, and whatever follows it is never looked at.
  nlohmann::json parsed;
  file >> parsed;
  InstallPluginConfig(std::move(parsed));
}

void LogReadFailure(const std::exception& error) noexcept {
  PluginLog::Get().Error("Failed to read config! {}", error.what());
}

void LogUnknownReadFailure() noexcept {
  PluginLog::Get().Error("Failed to read config! unknown error");
}

}  // namespace gatehouse
