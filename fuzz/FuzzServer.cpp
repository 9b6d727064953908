#include "FuzzServer.h"

#include <cstdio>
#include <cstdlib>

namespace gatehouse::fuzz {

namespace {

harness::Options ForInput(int32_t capacity) {
  // Never destroyed: standard output stays silent to the process's end.
  [[maybe_unused]] static const auto* const silent = new harness::SilentStdout();
  harness::Options options;
  options.capacity = capacity;
  return options;
}

struct Counted {
  const char* name = nullptr;
  uint64_t total = 0;
};
// Never destroyed: the exit handler reads it.
Counted* const counted = new Counted();

}  // namespace

Server::Server(int32_t capacity) : harness::Server("gatehouse-fuzz", ForInput(capacity)) {}

Server::~Server() {
  if (const int64_t leaked = Close(); leaked != 0) {
    std::fprintf(stderr, "engine blocks leaked: %lld\n", static_cast<long long>(leaked));
    std::abort();
  }
}

void Count(const char* name, uint64_t amount) {
  if (counted->name == nullptr) {
    counted->name = name;
    std::atexit([] {
      std::fprintf(stderr, "fuzz: %s %llu\n", counted->name,
                   static_cast<unsigned long long>(counted->total));
    });
  }
  counted->total += amount;
}

}  // namespace gatehouse::fuzz
