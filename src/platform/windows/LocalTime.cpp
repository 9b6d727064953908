#include <time.h>

#include "platform/Platform.h"

namespace gatehouse {

namespace Platform {

std::tm LocalTime(std::time_t when) {
  std::tm local{};
  localtime_s(&local, &when);
  return local;
}

}  // namespace Platform

}  // namespace gatehouse
