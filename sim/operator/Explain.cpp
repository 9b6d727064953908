#include "sim/operator/Explain.h"

#include <exception>
#include <string>

#include <nlohmann/json.hpp>

#include "admission/ListMembership.h"
#include "config/Settings.h"
#include "sim/framework/SimHost.h"

namespace sim::op {
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

// The entries of a list that match on their own, by the plugin's own test on a
// list of that one entry. The whole list has already been walked by the
// plugin's test, so every entry is a string here.
template <class Test>
std::vector<std::string> Matches(const json& list, const char* key, const char* what, Test test) {
  std::vector<std::string> found;
  for (const json& entry : list) {
    if (test(json::array({entry}))) {
      found.push_back(std::string(what) + " " + Quoted(entry.get<std::string>()) + " (" + key +
                      ")");
    }
  }
  return found;
}

std::string WhyWhitelisted(const FString& identifier) {
  const auto& groups = gatehouse::Settings::WhitelistedGroups();
  const auto& players = gatehouse::Settings::WhitelistedPlayers();
  auto found = Matches(groups, "WhitelistedGroups", "in group",
                       [&](const json& one) { return gatehouse::IsInAnyGroup(identifier, one); });
  const auto listed = Matches(players, "WhitelistedPlayers", "listed as", [&](const json& one) {
    return gatehouse::IsListedPlayer(identifier, one);
  });
  found.insert(found.end(), listed.begin(), listed.end());
  return Joined(found);
}

std::string WhyBlacklisted(const FString& identifier) {
  return Joined(Matches(gatehouse::Settings::BlacklistedGroups(), "BlacklistedGroups", "in group",
                        [&](const json& one) { return gatehouse::IsInAnyGroup(identifier, one); }));
}

std::string KickText(const std::string& message, int32_t delay) {
  return "kicked after " + std::to_string(delay) + (delay == 1 ? " second" : " seconds") +
         " with " + Quoted(message);
}

// The steps of the pre-login hook, in its order of reads.
std::string PreLogin(const FString& identifier) {
  try {
    if (!gatehouse::Settings::AllowJoinFullServer()) {
      return "pre-login: no capacity bypass: AllowJoinFullServer is off";
    }
    gatehouse::Settings::DebugPreLogin();
    if (!gatehouse::IsWhitelisted(identifier)) {
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
  std::vector<std::string> lines;
  try {
    if (!gatehouse::Settings::OnlyWhitelisted()) {
      lines.push_back("post-login: whitelist: not enforced (OnlyWhitelisted is off)");
    } else {
      gatehouse::Settings::DebugPostLogin();
      if (gatehouse::IsWhitelisted(identifier)) {
        lines.push_back("post-login: whitelist: kept: " + WhyWhitelisted(identifier));
      } else {
        const std::string message = gatehouse::Settings::KickMessage();
        const int32_t delay = gatehouse::Settings::KickTimer();
        lines.push_back("post-login: whitelist: " + KickText(message, delay) + ": not whitelisted");
      }
    }
    if (!gatehouse::Settings::UseBlacklist()) {
      lines.push_back("post-login: blacklist: not enforced (UseBlacklist is off)");
    } else if (!gatehouse::IsBlacklisted(identifier)) {
      lines.push_back("post-login: blacklist: kept: in no blacklisted group");
    } else {
      const std::string message = gatehouse::Settings::BlacklistKickMessage();
      const int32_t delay = gatehouse::Settings::KickTimer();
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

std::vector<std::string> Explain(const std::string& id, PluginState state) {
  const std::string prefix = "explain " + id + ": ";
  switch (state) {
    case PluginState::unloaded:
      return {prefix + "the plugin is not loaded; the game decides alone"};
    case PluginState::idle:
      return {prefix +
              "the plugin is idle (config.json could not be read when it was loaded) and has "
              "no hooks until it is loaded again; the game decides alone"};
    case PluginState::running:
      break;
  }
  // The Identifier as the game gives it for this unique net id.
  const FString identifier = FStringFromUtf8(id);
  std::vector<std::string> lines{prefix + PreLogin(identifier)};
  for (const std::string& line : PostLogin(identifier)) {
    lines.push_back(prefix + line);
  }
  return lines;
}

}  // namespace sim::op
