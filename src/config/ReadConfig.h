#pragma once

#include <exception>
#include <string>

namespace gatehouse {

// The full path of config.json in the plugin's folder under the host's
// current directory.
std::string ConfigPath();

// Reads config.json into PluginConfig. Throws std::runtime_error "Can't open
// config.json" when the file cannot be opened, or the JSON library's error when
// its first value does not parse. The document is replaced only when the whole
// parse succeeded: a failed read leaves the settings in force untouched.
void ReadConfig();

// The same read from a file named by its full path, for tools that check a
// configuration file before it goes live.
void ReadConfigFile(const std::string& path);

// The error record every reader of the configuration writes when a read (or
// the reply that follows it) fails.
void LogReadFailure(const std::exception& error) noexcept;
// The same record for a failure that carries no message of its own.
void LogUnknownReadFailure() noexcept;

}  // namespace gatehouse
