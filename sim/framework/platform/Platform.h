#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// The address in the code that called the function in which this stands. Both
// compilers of our builds (GCC and Clang, on every system) know it by this
// builtin; a build with another compiler puts its own here.
#define SIM_CALLER_ADDRESS() __builtin_return_address(0)

// What the host framework needs of the operating system, one implementation per
// system (posix/, windows/).
namespace sim::platform {

// A block of at least `bytes` at this alignment (a power of two, or any value
// for the default alignment); null when there is no memory. Goes back through
// FreeBlock only.
void* AllocateBlock(size_t bytes, size_t alignment);
void FreeBlock(void* block);

// std::fopen of a UTF-8 path.
std::FILE* OpenFile(const std::string& path, const char* mode);

// Which loaded library holds a piece of code: the host's way to tell which
// plugin scheduled a callable, whatever the plugin says about itself. A
// library loaded into the process (or the program itself) is named, as long as
// it stays loaded, by its load address; null stands for no library.
using ModuleId = const void*;
// The library whose mapped image holds this address; null when none does.
ModuleId ModuleHolding(const void* address);
// The library that the platform loader's handle stands for.
ModuleId ModuleOfHandle(void* library_handle);

}  // namespace sim::platform
