#pragma once

#include <string>

// The system's library loader, as the plugin loader uses it. Paths are UTF-8.
namespace sim::app::platform {

// The path as the loader needs it to open that very file: a bare file name
// would make it search its library folders instead of the working directory.
std::string AsFilePath(const std::string& path);

// The full path under which the system will know the library once it is open,
// or the path itself when it cannot tell.
std::string FullLibraryPath(const std::string& path);

// Opens the library, running its entry; null with the reason in `error`.
void* OpenLibrary(const std::string& path, std::string& error);

// Closes it, running its exit; false with the reason in `error`.
bool CloseLibrary(void* handle, std::string& error);

// True while a library of this path is still in the process.
bool LibraryStillLoaded(const std::string& path);

}  // namespace sim::app::platform
