#pragma once

#include <string>

namespace gatehouse {

// Coloured, time-stamped lines on the server console (standard output), apart
// from the log channel. A line is ESC "[" code "m", the stamp, one space, the
// message byte for byte, then ESC "[0m".

// Creates the console logger "custom" in the logging registry. The registry
// refuses the name a second time (spdlog::spdlog_ex); the logger in use then
// stays as it was.
void SetupConsoleLogger();

// Cyan (36): debug identifiers and the capacity bypass.
void ConsolePrintInfo(std::string message);

// Yellow (33): kick decisions.
void ConsolePrintAlert(std::string message);

}  // namespace gatehouse
