#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/FString.h"

namespace gatehouse {

// What follows the command's name in an RCON command line: the rest of the
// line without the blanks around it, as the engine's units.
std::u16string Argument(const FString& line);

// Why an ID cannot name a player in WhitelistedPlayers, or nothing when it
// can: it must be a run of printable ASCII characters without blanks (entries
// reach the host byte by byte, so an entry outside ASCII never equals the
// Identifier the game gives). `command` names the command in the answer.
std::optional<std::string> RefusedId(std::u16string_view id, const char* command);

}  // namespace gatehouse
