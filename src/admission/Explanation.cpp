#include "admission/Explanation.h"

#include <cstddef>
#include <exception>
#include <iterator>
#include <string>

#include <nlohmann/json.hpp>

#include "admission/HookSlots.h"
#include "admission/ListMembership.h"
#include "admission/PreparedLists.h"
#include "config/PluginConfig.h"
#include "config/Settings.h"

namespace gatehouse {

namespace {

using nlohmann::json;

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) {
    text += (text.empty() ? "" : ", ") + part;
  }
  return text;
}

std::string Reason(const char* what, const json& entry, const char* key) {
  return std::string(what) + " " + Quoted(entry.get<std::string>()) + " (" + key + ")";
}

// The groups of a list that the player is in, each asked of the permissions
// plugin on its own. The whole list has been walked by the test before, so
// every entry is a string here.
std::vector<std::string> GroupsOf(const FString& identifier, const json& groups, const char* key) {
  std::vector<std::string> found;
  for (const json& entry : groups) {
    if (IsInAnyGroup(identifier, json::array({entry}))) {
      found.push_back(Reason("in group", entry, key));
    }
  }
  return found;
}

}  // namespace

std::string WhyWhitelisted(const FString& identifier) {
  std::vector<std::string> found =
      GroupsOf(identifier, Settings::WhitelistedGroups(), Settings::kWhitelistedGroups);
  const json& players = Settings::WhitelistedPlayers();
  // Positions in the list's own iteration order, which an object's members
  // and a single value have too.
  for (const size_t position : CurrentLists().whitelisted_players.Matches(identifier, players)) {
    const json& entry = *std::next(players.begin(), static_cast<std::ptrdiff_t>(position));
    found.push_back(Reason("listed as", entry, Settings::kWhitelistedPlayers));
  }
  return Joined(found);
}

std::string WhyBlacklisted(const FString& identifier) {
  return Joined(GroupsOf(identifier, Settings::BlacklistedGroups(), Settings::kBlacklistedGroups));
}

namespace {

std::string KickText(const std::string& message, int32_t delay) {
  return "kicked after " + std::to_string(delay) + (delay == 1 ? " second" : " seconds") +
         " with " + Quoted(message);
}

// The steps of the pre-login hook, in its order of reads.
std::string PreLogin(const FString& identifier) {
  if (PreLoginTrampoline() == nullptr) {
    return "pre-login: no capacity bypass: the host did not install the pre-login hook";
  }
  if (AtCapacityTrampoline() == nullptr) {
    return "pre-login: no capacity bypass: the host did not install the capacity hook";
  }
  try {
    if (!Settings::AllowJoinFullServer()) {
      return "pre-login: no capacity bypass: AllowJoinFullServer is off";
    }
    Settings::DebugPreLogin();
    if (!IsWhitelisted(identifier)) {
      return "pre-login: no capacity bypass: not whitelisted";
    }
    return "pre-login: capacity bypass (the next two capacity checks report room): " +
           WhyWhitelisted(identifier);
  } catch (const std::exception& error) {
    return std::string("pre-login: error, logged by PreLoginHook: ") + error.what() +
           "; no capacity bypass, the game decides alone";
  }
}

// The steps of the post-login hook, in its order of reads: the whitelist step,
// then the blacklist step. An error ends the hook's enforcement for the login.
std::vector<std::string> PostLogin(const FString& identifier) {
  if (PostLoginTrampoline() == nullptr) {
    return {"post-login: not enforced: the host did not install the post-login hook"};
  }
  std::vector<std::string> lines;
  try {
    if (!Settings::OnlyWhitelisted()) {
      lines.push_back("post-login: whitelist: not enforced (OnlyWhitelisted is off)");
    } else {
      Settings::DebugPostLogin();
      if (IsWhitelisted(identifier)) {
        lines.push_back("post-login: whitelist: kept: " + WhyWhitelisted(identifier));
      } else {
        const std::string message = Settings::KickMessage();
        const int32_t delay = Settings::KickTimer();
        lines.push_back("post-login: whitelist: " + KickText(message, delay) + ": not whitelisted");
      }
    }
    if (!Settings::UseBlacklist()) {
      lines.push_back("post-login: blacklist: not enforced (UseBlacklist is off)");
    } else if (!IsBlacklisted(identifier)) {
      lines.push_back("post-login: blacklist: kept: in no blacklisted group");
    } else {
      const std::string message = Settings::BlacklistKickMessage();
      const int32_t delay = Settings::KickTimer();
      lines.push_back("post-login: blacklist: " + KickText(message, delay) + ": " +
                      WhyBlacklisted(identifier));
    }
  } catch (const std::exception& error) {
    lines.push_back(std::string("post-login: error, logged by PostLoginHook: ") + error.what() +
                    "; no further checks for this login");
  }
  return lines;
}

}  // namespace

std::vector<std::string> ExplainJoin(const FString& identifier) {
  std::vector<std::string> lines;
  // The look for a changed config.json comes first at a pre-login; only a
  // value it cannot read is worth a line, since it leaves the file unwatched.
  if (PreLoginTrampoline() != nullptr && PluginConfig().is_object()) {
    try {
      Settings::ReloadOnChange();
    } catch (const std::exception& error) {
      lines.push_back(std::string("pre-login: ReloadOnChange: error, logged by PreLoginHook: ") +
                      error.what() + "; config.json is not looked at for changes");
    }
  }
  lines.push_back(PreLogin(identifier));
  for (std::string& line : PostLogin(identifier)) {
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace gatehouse
