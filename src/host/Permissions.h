#pragma once

#include "host/FString.h"

namespace Permissions {

// True when the permissions plugin places this player in this group. The
// permissions plugin's library is bound at the first call, not before; while it
// cannot be opened or bound, every call throws std::runtime_error naming the
// library and the reason, and the next call tries again.
bool IsPlayerInGroup(const FString& player_id, const FString& group);

}  // namespace Permissions
