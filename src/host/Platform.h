#pragma once

#include <string>

namespace Platform {

// The full path of the library file that holds this code, as the operating
// system reports it: the plugin's identity towards the host's timer and
// messaging services.
std::string OwnLibraryPath();

}  // namespace Platform
