#pragma once

#include <string>

namespace AsaApi::Tools {

// The server's current directory, narrow, without a trailing separator.
std::string GetCurrentDir();

// Where the host keeps each plugin's own folder, under the current directory:
// kPluginsFolder/NAME, NAME being the plugin's name.
inline constexpr char kPluginsFolder[] = "ArkApi/Plugins";

// UTF-8 text as wide text. Invalid sequences become U+FFFD.
std::wstring Utf8Decode(const std::string& text);

}  // namespace AsaApi::Tools
