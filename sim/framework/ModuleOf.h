#pragma once

// Which loaded library holds a piece of code: the host's way to tell which
// plugin scheduled a callable, whatever the plugin says about itself. One
// source file per system, picked by the build.

namespace sim {

// A library loaded into the process (or the program itself), as long as it
// stays loaded: its load address. Null stands for no library.
using ModuleId = const void*;

// The library whose mapped image holds this address; null when none does.
ModuleId ModuleHolding(const void* address);

// The library that the platform loader's handle stands for.
ModuleId ModuleOfHandle(void* library_handle);

}  // namespace sim
