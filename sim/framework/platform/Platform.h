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

}  // namespace sim::platform
