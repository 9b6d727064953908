#include "admission/Explanation.h"

#include <cstddef>
#include <exception>
#include <iterator>
#include <string>

#include <nlohmann/json.hpp>

#include "admission/HookSlots.h"
#include "admission/JoinDecision.h"
#include "admission/ListMembership.h"
#include "admission/PreparedLists.h"
#include "config/PluginConfig.h"
#include "config/Settings.h"

namespace gatehouse {

namespace {

using nlohmann::json;

std::string InQuotes(const std::string& text) {
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
  return std::string(what) + " " + InQuotes(entry.get<std::string>()) + " (" + key + ")";
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

std::string KickText(const FailedCheck& failed) {
  return "kicked after " + std::to_string(failed.delay) +
         (failed.delay == 1 ? " second" : " seconds") + " with " + InQuotes(failed.message);
}

// A join's steps told, not acted on: nothing is printed or scheduled.
class Telling final : public JoinSteps {
 public:
  explicit Telling(const FString& identifier) : identifier_(identifier) {}

  // Only a value it cannot read is worth a line, since it leaves the file
  // unwatched.
  void LookForChange() override {
    if (!PluginConfig().is_object()) {
      return;
    }
    try {
      Settings::ReloadOnChange();
    } catch (const std::exception& error) {
      lines.push_back(std::string("pre-login: ReloadOnChange: error, logged by PreLoginHook: ") +
                      error.what() + "; config.json is not looked at for changes");
    }
  }
  const FString* Player() override { return &identifier_; }
  void Failed(const FailedCheck& failed) override { kick = KickText(failed); }

  std::vector<std::string> lines;
  std::string kick;

 private:
  const FString& identifier_;
};

std::string PreLogin(Telling& telling, const FString& identifier) {
  if (PreLoginTrampoline() == nullptr) {
    return "pre-login: no capacity bypass: the host did not install the pre-login hook";
  }
  if (AtCapacityTrampoline() == nullptr) {
    telling.LookForChange();
    return "pre-login: no capacity bypass: the host did not install the capacity hook";
  }
  try {
    switch (DecidePreLogin(telling)) {
      case StepOutcome::passed:
        return "pre-login: capacity bypass (the next two capacity checks report room): " +
               WhyWhitelisted(identifier);
      case StepOutcome::failed:
        return "pre-login: no capacity bypass: not whitelisted";
      default:
        return "pre-login: no capacity bypass: AllowJoinFullServer is off";
    }
  } catch (const std::exception& error) {
    return std::string("pre-login: error, logged by PreLoginHook: ") + error.what() +
           "; no capacity bypass, the game decides alone";
  }
}

// The line of a post-login check, as it ended.
std::string PostLoginLine(const char* check, StepOutcome outcome, const Telling& telling,
                          const FString& identifier) {
  const bool whitelist = std::string(check) == "whitelist";
  std::string line = std::string("post-login: ") + check + ": ";
  switch (outcome) {
    case StepOutcome::passed:
      return line + "kept: " +
             (whitelist ? WhyWhitelisted(identifier) : std::string("in no blacklisted group"));
    case StepOutcome::failed:
      return line + telling.kick + ": " +
             (whitelist ? std::string("not whitelisted") : WhyBlacklisted(identifier));
    default:
      return line + "not enforced (" + (whitelist ? "OnlyWhitelisted" : "UseBlacklist") +
             " is off)";
  }
}

}  // namespace

std::vector<std::string> ExplainJoin(const FString& identifier) {
  Telling telling(identifier);
  // The look for a changed file may add its line before the pre-login's.
  std::string pre_login = PreLogin(telling, identifier);
  telling.lines.push_back(std::move(pre_login));
  if (PostLoginTrampoline() == nullptr) {
    telling.lines.push_back(
        "post-login: not enforced: the host did not install the post-login hook");
    return telling.lines;
  }
  try {
    DecidePostLogin(telling, [&](const char* check, StepOutcome outcome) {
      telling.lines.push_back(PostLoginLine(check, outcome, telling, identifier));
      return true;
    });
  } catch (const std::exception& error) {
    telling.lines.push_back(std::string("post-login: error, logged by PostLoginHook: ") +
                            error.what() + "; no further checks for this login");
  }
  return telling.lines;
}

}  // namespace gatehouse
