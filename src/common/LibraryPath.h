#pragma once

#include <string>

namespace gatehouse {

// The full path of the plugin's own library file: its identity towards the
// host's timer (the tag and library of a kick) and messaging services (the
// console reload's answer). Resolved once, as the first step of Load; every use
// after that reads the stored value.
namespace LibraryPath {

void Resolve();
const std::string& Get();

// Where the path is kept: its part of the plugin's state (plugin/PluginState.h).
std::string& Stored();

}  // namespace LibraryPath

}  // namespace gatehouse
