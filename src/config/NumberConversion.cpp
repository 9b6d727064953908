#include "config/NumberConversion.h"

#include <cmath>
#include <limits>

namespace gatehouse {

namespace {

int32_t ClampToInt32(double value) {
  constexpr double kLowest = std::numeric_limits<int32_t>::min();
  constexpr double kHighest = std::numeric_limits<int32_t>::max();
  if (std::isnan(value)) {
    return 0;
  }
  if (value <= kLowest) {
    return std::numeric_limits<int32_t>::min();
  }
  if (value >= kHighest) {
    return std::numeric_limits<int32_t>::max();
  }
  return static_cast<int32_t>(value);
}

}  // namespace

int32_t ToInt32(const nlohmann::json& value) {
  if (value.is_number_float()) {
    return ClampToInt32(value.get<double>());
  }
  if (value.is_number_unsigned()) {
    return static_cast<int32_t>(value.get<uint64_t>());
  }
  if (value.is_number_integer()) {
    return static_cast<int32_t>(value.get<int64_t>());
  }
  // Booleans convert to 1 and 0; everything else raises the library's error.
  return value.get<int32_t>();
}

}  // namespace gatehouse
