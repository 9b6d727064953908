#include "admission/ListMembership.h"

#include <string>

#include "admission/EqualsIgnoreCase.h"
#include "admission/PreparedLists.h"
#include "config/Settings.h"
#include "host/Permissions.h"

namespace gatehouse {

namespace {

// True when the test holds for any entry; every entry is tested. An entry
// becomes an engine string through the host's narrow constructor.
template <class Test>
bool AnyEntry(const nlohmann::json& list, Test test) {
  bool found = false;
  for (const nlohmann::json& entry : list) {
    const std::string text = entry.get<std::string>();
    const FString name(text.c_str());
    if (test(name)) {
      found = true;
    }
  }
  return found;
}

}  // namespace

bool IsInAnyGroup(const FString& identifier, const nlohmann::json& groups) {
  return AnyEntry(groups, [&](const FString& group) {
    return Permissions::IsPlayerInGroup(identifier, group);
  });
}

bool IsListedPlayer(const FString& identifier, const nlohmann::json& players) {
  return AnyEntry(players,
                  [&](const FString& entry) { return EqualsIgnoreCase(entry, identifier); });
}

bool IsWhitelisted(const FString& identifier) {
  const PreparedLists& lists = CurrentLists();
  // Each list is read first, as the walk reads it: that raises the error of a
  // document that is not an object and names the list in use. Its entries
  // come prepared.
  Settings::WhitelistedGroups();
  const bool in_group = lists.whitelisted_groups.AnyMember(identifier);
  Settings::WhitelistedPlayers();
  const bool listed = lists.whitelisted_players.Contains(identifier);
  return in_group || listed;
}

bool IsBlacklisted(const FString& identifier) {
  const PreparedLists& lists = CurrentLists();
  Settings::BlacklistedGroups();
  return lists.blacklisted_groups.AnyMember(identifier);
}

}  // namespace gatehouse
