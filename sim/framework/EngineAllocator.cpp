#include "sim/framework/Internal.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>

#include "sim/framework/SimHost.h"
#include "sim/framework/platform/Platform.h"

namespace sim {
namespace {

std::atomic<int64_t> live_blocks{0};

}  // namespace

void* EngineMalloc(uint64_t size, uint32_t alignment) {
  // A zero-sized request still gets a block of its own, as the engine's does.
  const size_t bytes = size == 0 ? 1 : static_cast<size_t>(size);
  void* block = platform::AllocateBlock(bytes, alignment);
  if (block != nullptr) {
    live_blocks.fetch_add(1);
  }
  return block;
}

void EngineFree(void* block) {
  if (block == nullptr) {
    return;
  }
  live_blocks.fetch_sub(1);
  platform::FreeBlock(block);
}

int64_t LiveEngineBlocks() {
  return live_blocks.load();
}

}  // namespace sim
