#include "config/Settings.h"

#include "config/NumberConversion.h"
#include "config/SettingRead.h"

namespace Settings {

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

int32_t KickTimer() {
  return ToInt32(ReadSetting("KickTimer", nlohmann::json(5)));
}

std::string KickMessage() {
  return ReadSetting<std::string>("KickMessage", "You are not whitelisted on this server!");
}

std::string BlacklistKickMessage() {
  return ReadSetting<std::string>("BlacklistKickMessage", "You are blacklisted on this server!");
}

nlohmann::json WhitelistedGroups() {
  return ReadSetting("WhitelistedGroups", nlohmann::json::array());
}
nlohmann::json WhitelistedPlayers() {
  return ReadSetting("WhitelistedPlayers", nlohmann::json::array());
}
nlohmann::json BlacklistedGroups() {
  return ReadSetting("BlacklistedGroups", nlohmann::json::array());
}

}  // namespace Settings
