#include "config/ReadConfig.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "common/Names.h"
#include "common/PluginLog.h"
#include "config/ConfigReads.h"
#include "config/PluginConfig.h"
#include "host/Tools.h"
#include "host/Utf8Path.h"

namespace gatehouse {

std::string ConfigPath() {
  return AsaApi::Tools::GetCurrentDir() + "/" + AsaApi::Tools::kPluginsFolder + "/" +
         Names::kPlugin + "/config.json";
}

void ReadConfig() {
  // The state before the read: a change made while it runs shows at the next
  // look, never hidden behind the bytes read before it.
  const std::string path = ConfigPath();
  const Platform::FileState state = Platform::StateOf(path);
  try {
    ReadConfigFile(path);
  } catch (...) {
    RecordStateSeen(state);
    throw;
  }
  RecordStateSeen(state);
}

std::string ReadConfigBytes(const std::string& path) {
  // A directory opens as a stream on this platform but can never be read.
  std::error_code ignored;
  std::ifstream file;
  if (!std::filesystem::is_directory(PathFromUtf8(path), ignored)) {
    file.open(PathFromUtf8(path), std::ios::binary);
  }
  if (!file.is_open()) {
    throw std::runtime_error("Can't open config.json");
  }
  // Read in one go at the size the file has now; a file that grew since is
  // read on to its end.
  std::string bytes;
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  file.seekg(0, std::ios::beg);
  if (size > 0) {
    bytes.resize(static_cast<size_t>(size));
    file.read(bytes.data(), size);
    bytes.resize(static_cast<size_t>(file.gcount()));
  }
  if (!file.eof()) {
    file.clear();
    bytes.append(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  if (file.bad()) {
    throw std::runtime_error("Can't read config.json");
  }
  return bytes;
}

nlohmann::json ParseConfigBytes(std::string_view bytes) {
  // Only the first value is read: a BOM before it is skipped, comments are an
  // error, and whatever follows it is never looked at.
  nlohmann::json parsed;
  nlohmann::detail::json_sax_dom_parser<nlohmann::json> builder(parsed, true);
  nlohmann::json::sax_parse(bytes.begin(), bytes.end(), &builder,
                            nlohmann::json::input_format_t::json,
                            /*strict=*/false);
  return parsed;
}

void PutInForce(std::string_view bytes, nlohmann::json&& parsed) {
  RecordReadInForce(bytes);
  InstallPluginConfig(std::move(parsed));
}

void InstallConfigBytes(std::string_view bytes) {
  PutInForce(bytes, ParseConfigBytes(bytes));
}

void ReadConfigFile(const std::string& path) {
  try {
    InstallConfigBytes(ReadConfigBytes(path));
  } catch (const std::exception& error) {
    RecordFailedRead(error.what());
    throw;
  }
}

void LogReadFailure(const std::exception& error) noexcept {
  PluginLog::Get().Error("Failed to read config! {}", error.what());
}

void LogUnknownReadFailure() noexcept {
  PluginLog::Get().Error("Failed to read config! unknown error");
}

}  // namespace gatehouse
