#pragma once

#include <cstdint>

#include "harness/InProcessServer.h"

namespace gatehouse::fuzz {

// The in-process server of one fuzz input. Nothing is printed: standard output
// (the plugin's console lines) goes nowhere for the whole run, as do the
// server's lines and the log records; the fuzzer reports on standard error. An
// engine block left live when the server ends stops the run as a crash would.
class Server : public harness::Server {
 public:
  explicit Server(int32_t capacity);
  ~Server();
};

// Adds to a count that is printed on standard error when the process ends, as
// "fuzz: NAME N" (the figures a run reports beside the fuzzer's own).
void Count(const char* name, uint64_t amount);

}  // namespace gatehouse::fuzz
