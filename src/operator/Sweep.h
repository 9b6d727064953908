#pragma once

#include <string>

namespace gatehouse {

// "Gatehouse.Sweep preview": one line for each player online (as far as the
// plugin tracks them, admission/OnlinePlayers.h) whom the post-login checks
// would kick now under the settings in force, with the check and the reason,
// or a line saying nobody would be. Changes nothing.
std::string SweepPreview();

// "Gatehouse.Sweep": schedules the kicks the preview lists, exactly as
// post-login schedules them (console line, message, KickTimer), one for each
// player, and none for a player whose kick is pending already. Answers with
// the count.
std::string SweepNow();

}  // namespace gatehouse
