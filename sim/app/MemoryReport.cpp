#include "sim/app/MemoryReport.h"

#include <unistd.h>

#include <fstream>

#include "sim/framework/SimHost.h"

namespace sim::app {
namespace {

std::string ResidentKilobytes() {
  std::ifstream statm("/proc/self/statm");
  long long total_pages = 0;
  long long resident_pages = 0;
  const long page_size = ::sysconf(_SC_PAGESIZE);
  if (!(statm >> total_pages >> resident_pages) || page_size <= 0) {
    return "unknown";
  }
  return std::to_string(resident_pages * page_size / 1024);
}

}  // namespace

std::string MemoryLine() {
  return "memory: " + ResidentKilobytes() + " kB resident, " + std::to_string(LiveEngineBlocks()) +
         " engine blocks live";
}

}  // namespace sim::app
