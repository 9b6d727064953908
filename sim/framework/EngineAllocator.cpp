#include "sim/framework/Internal.h"

#include <algorithm>
#include <atomic>
#include <cstddef>

#include "sim/framework/SimHost.h"
#include "sim/framework/platform/Platform.h"

namespace sim {
namespace {

std::atomic<int64_t> live_blocks{0};
// Blocks still to be granted before the allocator fails; negative: no limit.
std::atomic<int64_t> grants_left{-1};

bool Grant() {
  int64_t left = grants_left.load();
  while (left >= 0) {
    if (left == 0) {
      return false;
    }
    if (grants_left.compare_exchange_weak(left, left - 1)) {
      return true;
    }
  }
  return true;
}

}  // namespace

void* EngineMalloc(uint64_t size, uint32_t alignment) {
  if (!Grant()) {
    return nullptr;
  }
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

void FailAllocationsAfter(std::optional<int64_t> granted) {
  grants_left.store(granted ? std::max<int64_t>(*granted, 0) : -1);
}

int64_t LiveEngineBlocks() {
  return live_blocks.load();
}

}  // namespace sim
