#pragma once

#include <string>
#include <utility>
#include <vector>

// A permissions library for the plugin's tests: it answers from a membership
// table the test fills and records every query the plugin makes, in order.
namespace recording_permissions {

using Query = std::pair<std::string, std::string>;  // player id, group (UTF-8)

void AddMember(const std::string& player_id, const std::string& group);
void Clear();
std::vector<Query> Queries();

}  // namespace recording_permissions
