#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim::app {
class EventLoop;
}

// What gatehouse-sim needs of its process and the operating system. Paths are
// UTF-8.
namespace sim::app::platform {

// The command line's arguments after the program's name, in UTF-8.
std::vector<std::string> Arguments(int argc, char** argv);

// The folder that holds the running simulator (UTF-8).
std::string ExecutableFolder(const char* argv0);

// An interrupt or termination request asks the loop to stop; a reader of the
// output that goes away does not end the server.
void InstallStopHandlers();

bool StandardInputIsTerminal();

// Reads standard input until it ends or a stop is requested, handing over each
// piece as soon as it arrives; `piece` returning false stops the reading too.
// With the real clock the loop's passes run while it waits. True when the input
// came to its end.
bool ReadStandardInput(EventLoop& loop, const std::function<bool(std::string_view)>& piece);

// The process's resident memory in kB as the system reports it, or nothing.
std::optional<long long> ResidentKilobytes();

// ---- The system's library loader, as the plugin loader uses it --------------

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

// ---- Failures of the file system, brought on by `fault` ---------------------
// As the plugin's writes of config.json meet them (see FaultCommand.h). Each
// answers an empty text when done, or why it cannot be done on this system.

// The id of this process: the plugin, loaded into it, names its new file
// after it.
int64_t ProcessId();

// Files of this process cannot grow past this many bytes (nothing: no limit),
// so a write fails part way.
std::string LimitFileSize(std::optional<int64_t> bytes);

// The file or folder at this path may be read but not changed, renamed,
// replaced or (a folder) given new entries; or may again.
std::string Pin(const std::string& path, bool pinned);

}  // namespace sim::app::platform
