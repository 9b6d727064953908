#pragma once

#include <string>
#include <vector>

namespace sim::op {

// gatehouse-sim check [--json] (--dir DIR | FILE): checks a configuration file
// the way the plugin reads it, without starting a server, and prints the
// findings on standard output. The arguments are those after "check". Returns
// the exit status: 0 clean, 1 errors, 3 warnings only, 2 a bad command line
// (with the usage on standard error).
int RunCheck(const std::vector<std::string>& arguments);

extern const char* const kCheckUsage;

}  // namespace sim::op
