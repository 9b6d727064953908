#pragma once

#include <string>

// What the plugin's console sink writes to standard output between Begin and
// End. Prepare runs before the plugin's first console print in the process: a
// sink that holds a system handle (Windows) keeps the one it was made with.
namespace ConsoleCapture {

// The system's line end, which the sink writes after each line.
extern const char* const kLineEnd;

void Prepare();
void Begin();
std::string End();

}  // namespace ConsoleCapture
