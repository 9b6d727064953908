#pragma once

#include <string>

// A service of the stand-in host only. The stand-in's permissions plugin has
// no import library: a plugin finds its library file through this query and
// binds its function by name (standin/PermissionsBinding.cpp). A real build
// links the permissions plugin's import library instead and has no use for it.
namespace AsaApi::Tools {

// Where the permissions plugin's library lives; empty while the server runs
// without it.
std::string GetPermissionsLibraryPath();

}  // namespace AsaApi::Tools
