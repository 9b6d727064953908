#include "common/ProcessState.h"

namespace gatehouse {

ProcessState::Node* ProcessState::newest_ = nullptr;

ProcessState::Node* ProcessState::Find(const void* key) noexcept {
  for (Node* node = newest_; node != nullptr; node = node->older) {
    if (node->key == key) {
      return node;
    }
  }
  return nullptr;
}

void ProcessState::Add(std::unique_ptr<Node> node) noexcept {
  node->older = newest_;
  newest_ = node.release();
}

void ProcessState::Release() noexcept {
  while (newest_ != nullptr) {
    // Unlinked before it goes: the parts older than it stay whole while it is
    // destroyed.
    const std::unique_ptr<Node> node(newest_);
    newest_ = node->older;
  }
}

}  // namespace gatehouse
