#include "config/Settings.h"

#include <cmath>
#include <limits>

#include "config/SettingRead.h"

namespace gatehouse {

namespace Settings {
namespace {

// A list where it lies in the document, or an empty array when it is absent.
const nlohmann::json& ListSetting(const char* key) {
  static const nlohmann::json kEmpty = nlohmann::json::array();
  const nlohmann::json* const list = FindSetting(key);
  return list != nullptr ? *list : kEmpty;
}

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

// A JSON number (or boolean) as a signed 32-bit value: integers keep their low
// 32 bits, floating-point values truncate toward zero and clamp to the nearest
// 32-bit value when outside that range, true and false give 1 and 0. Any other
// type raises the JSON library's type error 302 "type must be number, but is X".
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

}  // namespace

bool OnlyWhitelisted() {
  return ReadSetting("OnlyWhitelisted", false);
}
bool DebugPostLogin() {
  return ReadSetting("DebugPostLogin", false);
}
bool UseBlacklist() {
  return ReadSetting("UseBlacklist", false);
}
bool AllowJoinFullServer() {
  return ReadSetting("AllowJoinFullServer", true);
}
bool DebugPreLogin() {
  return ReadSetting("DebugPreLogin", false);
}
bool AuditLog() {
  return ReadSetting("AuditLog", false);
}

bool ReloadOnChange() {
  return ReadSetting("ReloadOnChange", false);
}

int32_t KickTimer() {
  const nlohmann::json* const value = FindSetting("KickTimer");
  return value != nullptr ? ToInt32(*value) : 5;
}

std::string KickMessage() {
  return ReadSetting<std::string>("KickMessage", "You are not whitelisted on this server!");
}

std::string BlacklistKickMessage() {
  return ReadSetting<std::string>("BlacklistKickMessage", "You are blacklisted on this server!");
}

const nlohmann::json& WhitelistedGroups() {
  return ListSetting(kWhitelistedGroups);
}
const nlohmann::json& WhitelistedPlayers() {
  return ListSetting(kWhitelistedPlayers);
}
const nlohmann::json& BlacklistedGroups() {
  return ListSetting(kBlacklistedGroups);
}

}  // namespace Settings

}  // namespace gatehouse
