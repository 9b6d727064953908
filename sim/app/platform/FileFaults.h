#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Failures of the file system as the plugin's writes of config.json meet
// them, brought on by `fault` (see FaultCommand.h). Each answers an empty text
// when done, or why it cannot be done on this system.
namespace sim::app::platform {

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
