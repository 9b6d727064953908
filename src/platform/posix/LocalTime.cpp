#include <time.h>

#include "platform/Platform.h"

namespace gatehouse {

namespace Platform {

std::tm LocalTime(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  return local;
}

}  // namespace Platform

}  // namespace gatehouse
