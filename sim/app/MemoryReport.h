#pragma once

#include <string>

namespace sim::app {

// `memory`: "memory: N kB resident, M engine blocks live" (the resident size
// as the system reports it for this process, "unknown kB" where it does not).
std::string MemoryLine();

}  // namespace sim::app
