#include "console/ConsoleTimestamp.h"

#include <ctime>

#include "platform/Platform.h"

namespace gatehouse {

std::string ConsoleTimestamp() {
  const std::time_t now = std::time(nullptr);
  const std::tm local = Platform::LocalTime(now);
  char buffer[80];
  const size_t length = std::strftime(buffer, sizeof(buffer), "%m/%d/%y %H:%M", &local);
  return std::string(buffer, length);
}

}  // namespace gatehouse
