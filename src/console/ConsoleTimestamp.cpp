#include "console/ConsoleTimestamp.h"

#include <ctime>

std::string ConsoleTimestamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buffer[80];
  const size_t length = std::strftime(buffer, sizeof(buffer), "%m/%d/%y %H:%M", &local);
  return std::string(buffer, length);
}
