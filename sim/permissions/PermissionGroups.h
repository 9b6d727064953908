#pragma once

// The stand-in permissions plugin's group membership, for the simulator and the
// tests. The plugin itself only reaches Permissions::IsPlayerInGroup, by its
// linker name, in this library.

#include <string>

namespace sim::permissions {

// Ids and group names are UTF-8 and compared exactly, letter case included.
void AddMember(const std::string& player_id, const std::string& group);
// False when the player was not in that group.
bool RemoveMember(const std::string& player_id, const std::string& group);
void Clear();

}  // namespace sim::permissions
