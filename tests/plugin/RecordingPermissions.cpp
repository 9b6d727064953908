#include "RecordingPermissions.h"

#include <set>

#include "host/FString.h"
#include "host/Permissions.h"
#include "sim/framework/SimHost.h"

namespace recording_permissions {
namespace {

struct State {
  std::set<Query> members;
  std::vector<Query> queries;
};

State& TheState() {
  static State state;
  return state;
}

}  // namespace

void AddMember(const std::string& player_id, const std::string& group) {
  TheState().members.emplace(player_id, group);
}

void Clear() {
  TheState() = State{};
}

std::vector<Query> Queries() {
  return TheState().queries;
}

}  // namespace recording_permissions

namespace Permissions {

// The query the plugin binds by its linker name.
bool IsPlayerInGroup(const FString& player_id, const FString& group) {
  using recording_permissions::TheState;
  recording_permissions::Query query{sim::ToUtf8(player_id), sim::ToUtf8(group)};
  TheState().queries.push_back(query);
  return TheState().members.contains(query);
}

}  // namespace Permissions
