#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

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
