#include "config/ConfigReads.h"

#include <cstring>

namespace gatehouse {

namespace {

uint64_t Mix(uint64_t hash, uint64_t word) {
  hash = (hash ^ word) * 0xff51afd7ed558ccdULL;
  return hash ^ (hash >> 32);
}

}  // namespace

Fingerprint FingerprintOf(std::string_view bytes) {
  // Eight bytes a step: a file of a million entries is hashed in a few
  // milliseconds, a small part of its parse.
  uint64_t hash = 0x9e3779b97f4a7c15ULL ^ bytes.size();
  size_t at = 0;
  for (; at + 8 <= bytes.size(); at += 8) {
    uint64_t word;
    std::memcpy(&word, bytes.data() + at, 8);
    hash = Mix(hash, word);
  }
  uint64_t tail = 0;
  if (at < bytes.size()) {
    std::memcpy(&tail, bytes.data() + at, bytes.size() - at);
  }
  return {bytes.size(), Mix(hash, tail)};
}

const ConfigReads& Reads() {
  return StoredReads();
}

void RecordReadInForce(std::string_view bytes) {
  ConfigReads& reads = StoredReads();
  reads.in_force = FingerprintOf(bytes);
  reads.last_read = std::time(nullptr);
  reads.last_read_ok = true;
  reads.last_error.clear();
}

void RecordFailedRead(const char* error) {
  ConfigReads& reads = StoredReads();
  reads.last_read = std::time(nullptr);
  reads.last_read_ok = false;
  reads.last_error = error;
}

void RecordStateSeen(const Platform::FileState& state) {
  StoredReads().seen = state;
}

}  // namespace gatehouse
