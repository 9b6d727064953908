#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim::app {
class EventLoop;
}

// What gatehouse-sim needs of its process and the operating system.
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

}  // namespace sim::app::platform
