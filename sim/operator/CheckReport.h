#pragma once

#include <string>

#include "sim/operator/ConfigCheck.h"

namespace sim::op {

// The findings for a reader: the file, a table of the eleven settings (the
// value in force, or "(default)" and the default), then one line per finding
// ("error: ..." or "warning: ..."), then the counts.
std::string TextReport(const CheckResult& result);

// The same as one JSON document, for scripts.
std::string JsonReport(const CheckResult& result);

}  // namespace sim::op
