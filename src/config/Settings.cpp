#include "config/Settings.h"

#include "config/NumberConversion.h"
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
