#include "sim/permissions/PermissionGroups.h"

#include <map>
#include <set>
#include <string>

#include "host/FString.h"
#include "host/Permissions.h"
#include "sim/framework/SimHost.h"

namespace sim::permissions {
namespace {

// Player id to the groups it belongs to, both as the engine's UTF-16 text.
using Membership = std::map<std::u16string, std::set<std::u16string>>;

Membership& TheMembership() {
  static auto* membership = new Membership();
  return *membership;
}

std::u16string UnitsOf(const FString& text) {
  return std::u16string(*text, static_cast<size_t>(text.Len()));
}

}  // namespace

void AddMember(const std::string& player_id, const std::string& group) {
  TheMembership()[Utf8ToUtf16(player_id)].insert(Utf8ToUtf16(group));
}

bool RemoveMember(const std::string& player_id, const std::string& group) {
  const auto player = TheMembership().find(Utf8ToUtf16(player_id));
  if (player == TheMembership().end()) {
    return false;
  }
  const bool removed = player->second.erase(Utf8ToUtf16(group)) > 0;
  if (player->second.empty()) {
    TheMembership().erase(player);
  }
  return removed;
}

void Clear() {
  TheMembership().clear();
}

}  // namespace sim::permissions

namespace Permissions {

// The permissions plugin's query, under the name the plugin binds.
bool IsPlayerInGroup(const FString& player_id, const FString& group) {
  const auto& membership = sim::permissions::TheMembership();
  const auto player = membership.find(sim::permissions::UnitsOf(player_id));
  return player != membership.end() && player->second.contains(sim::permissions::UnitsOf(group));
}

}  // namespace Permissions
