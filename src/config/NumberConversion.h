#pragma once

#include <cstdint>

#include <nlohmann/json.hpp>

namespace gatehouse {

// A JSON number (or boolean) as a signed 32-bit value: integers keep their low
// 32 bits, floating-point values truncate toward zero and clamp to the nearest
// 32-bit value when outside that range, true and false give 1 and 0. Any other
// type raises the JSON library's type error 302 "type must be number, but is X".
int32_t ToInt32(const nlohmann::json& value);

}  // namespace gatehouse
