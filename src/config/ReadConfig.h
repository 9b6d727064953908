#pragma once

#include <exception>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace gatehouse {

// The full path of config.json in the plugin's folder under the host's
// current directory.
std::string ConfigPath();

// Reads config.json into PluginConfig, noting the file's state for
// ReloadOnChange. Throws std::runtime_error "Can't open
// config.json" when the file cannot be opened, or the JSON library's error when
// its first value does not parse. The document is replaced only when the whole
// parse succeeded: a failed read leaves the settings in force untouched.
void ReadConfig();

// The same read from a file named by its full path, for tools that check a
// configuration file before it goes live.
void ReadConfigFile(const std::string& path);

// The whole of the file at this path, as bytes. Throws std::runtime_error
// "Can't open config.json" when it cannot be opened (a directory cannot).
std::string ReadConfigBytes(const std::string& path);

// The first JSON value of these bytes, as ReadConfig reads it: a byte order
// mark before it is skipped, comments are an error, what follows it is never
// looked at. Throws the JSON library's parse error.
nlohmann::json ParseConfigBytes(std::string_view bytes);

// Puts in force the document parsed from these bytes, with their fingerprint.
void PutInForce(std::string_view bytes, nlohmann::json&& parsed);

// Parses these bytes and puts them in force, with their fingerprint; throws
// the parse error and leaves the settings in force untouched.
void InstallConfigBytes(std::string_view bytes);

// The error record every reader of the configuration writes when a read (or
// the reply that follows it) fails.
void LogReadFailure(const std::exception& error) noexcept;
// The same record for a failure that carries no message of its own.
void LogUnknownReadFailure() noexcept;

}  // namespace gatehouse
