#include "sim/app/MemoryReport.h"

#include "sim/app/platform/Process.h"
#include "sim/framework/SimHost.h"

namespace sim::app {
namespace {

std::string ResidentText() {
  const auto kilobytes = platform::ResidentKilobytes();
  return kilobytes ? std::to_string(*kilobytes) : "unknown";
}

}  // namespace

std::string MemoryLine() {
  return "memory: " + ResidentText() + " kB resident, " + std::to_string(LiveEngineBlocks()) +
         " engine blocks live";
}

}  // namespace sim::app
