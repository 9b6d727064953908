#pragma once

#include <string>

namespace gatehouse {

// The current local time as MM/DD/YY HH:MM (24-hour clock, no seconds).
std::string ConsoleTimestamp();

}  // namespace gatehouse
