#include "sim/framework/platform/Platform.h"

#include <cstdlib>

namespace sim::platform {

void* AllocateBlock(size_t bytes, size_t alignment) {
  const bool power_of_two = (alignment & (alignment - 1)) == 0;
  if (alignment > alignof(std::max_align_t) && power_of_two) {
    const size_t rounded = (bytes + alignment - 1) / alignment * alignment;
    return std::aligned_alloc(alignment, rounded);
  }
  return std::malloc(bytes);
}

void FreeBlock(void* block) {
  std::free(block);
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

}  // namespace sim::platform
